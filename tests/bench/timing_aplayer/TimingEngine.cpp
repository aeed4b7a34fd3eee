// APlayerCaller.dll for the benchmarks: forwards every call to the real
// engine (APlayerTimed.dll beside it) and writes down when the program opens
// a file and when the engine reports an event, so that a benchmark can tell
// from outside when a file ended. Costs one file append per logged call.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "outside/aplayer/APlayerContract.h"
#include "tests/bench/timing_aplayer/TimingLog.h"

namespace {

APlayerHandler gProgramHandler = nullptr;

std::string besideThisDll(const char* name) {
  HMODULE self = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&besideThisDll), &self);
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(self, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + name;
}

void logLine(const std::string& what) {
  FILETIME now{};
  ::GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  const std::string line = std::to_string(ticks) + " " + what + "\n";
  if (FILE* file = std::fopen(besideThisDll(kTimingLogFile).c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
}

// The real engine's export `name`, typed as `Function`.
template <typename Function>
Function real(const char* name) {
  static HMODULE engine = ::LoadLibraryA(besideThisDll(kTimedEngineFile).c_str());
  return engine ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(engine, name))) : nullptr;
}

int32_t WINAPI timedHandler(int32_t code, int32_t parameter) {
  logLine("event " + std::to_string(code) + " " + std::to_string(parameter));
  return gProgramHandler ? gProgramHandler(code, parameter) : 0;
}

}  // namespace

extern "C" {

int32_t WINAPI APlayer_Create(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                              APlayerHandler h1, APlayerHandler h2, APlayerHandler h3, APlayerHandler h4,
                              APlayerHandler h5, APlayerHandler h6, APlayerHandler h7, APlayerHandler h8) {
  using Create = decltype(&APlayer_Create);
  gProgramHandler = h2;
  auto create = real<Create>("APlayer_Create");
  return create ? create(parent, x, y, width, height, h1, h2 ? timedHandler : nullptr, h3, h4, h5, h6, h7, h8)
                : 0;
}

int32_t WINAPI APlayer_OpenA(int32_t engine, const char* path) {
  logLine(std::string("open ") + (path ? path : ""));
  auto open = real<decltype(&APlayer_OpenA)>("APlayer_OpenA");
  const int32_t result = open ? open(engine, path) : kAPlayerFailed;
  logLine("opened " + std::to_string(result));
  return result;
}

int32_t WINAPI APlayer_Play(int32_t engine) {
  logLine("play");
  auto play = real<decltype(&APlayer_Play)>("APlayer_Play");
  return play ? play(engine) : kAPlayerFailed;
}

int32_t WINAPI APlayer_Pause(int32_t engine) {
  logLine("pause");
  auto pause = real<decltype(&APlayer_Pause)>("APlayer_Pause");
  return pause ? pause(engine) : kAPlayerFailed;
}

}  // extern "C"
