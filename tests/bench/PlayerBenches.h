#pragma once
// The player benchmarks; each prints its figures to standard output.

namespace qova::bench {

// Playback cost, cost while paused, peak memory (PlaybackBench.cpp).
void benchPlayback();
// CPU per frame of each presentation path, the renderer's threads apart.
void benchPresentation();
// From APlayer_Play to playing again after a short and a long pause (ResumeBench.cpp).
void benchResume();
// Playback cost and peak memory with a player on every monitor against the
// primary's alone, on a display of two monitors (PlaybackBench.cpp).
void benchMonitors();
// Time from the end of one file to the first frame of the next (SwitchingBench.cpp).
void benchSwitching();
// Time from the process's start to the first frame (StartupBench.cpp).
void benchStartup();
// From covering the desktop to the pause, and from uncovering it to playing (CoverBench.cpp).
void benchCover();
// From the open of an unplayable entry to the open of the next (PassOverBench.cpp).
void benchPassOver();
// Memory and threads over thousands of files, and failed opens (SoakBench.cpp);
// QOVA_SOAK_MINUTES sets its length (30 by default).
void benchSoak();

}  // namespace qova::bench
