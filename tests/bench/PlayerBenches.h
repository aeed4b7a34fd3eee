#pragma once
// The player benchmarks; each prints its figures to standard output.

namespace qova::bench {

// Playback cost, cost while paused, peak memory (PlaybackBench.cpp).
void benchPlayback();
// Time from the end of one file to the first frame of the next (SwitchingBench.cpp).
void benchSwitching();
// Time from the process's start to the first frame (StartupBench.cpp).
void benchStartup();

}  // namespace qova::bench
