#pragma once
// The log that the timing engine writes beside itself and the benchmarks read:
// one line per event, "<time> <what>", <time> in 100 ns units of the system
// clock (GetSystemTimePreciseAsFileTime), comparable between processes.
//
//   <time> open <path>            the program called APlayer_OpenA
//   <time> opened <result>        APlayer_OpenA returned
//   <time> event <code> <param>   the engine called handler 2 (before the program sees it)
//   <time> play | pause           the program called APlayer_Play / APlayer_Pause

// The log's file name, beside the engine DLL.
constexpr const char* kTimingLogFile = "engine_timing.log";
// The real engine's file name, beside the timing engine, which forwards to it.
constexpr const char* kTimedEngineFile = "APlayerTimed.dll";
