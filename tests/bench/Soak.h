#pragma once
// A long run of qova.exe through the real engine (behind the timing engine):
// how its memory and threads move as file after file plays, and whether any
// good file failed to open. Shared by the soak journey of the test suite and
// the 30-minute soak of the benchmarks.
#include <chrono>
#include <string>
#include <vector>

#include "tests/bench/BenchSupport.h"

namespace qova::bench {

struct SoakSample {
  int files = 0;  // files played to their end so far
  double seconds = 0.0;
  double residentMb = 0.0;
  int threads = 0;
  int decodingProcesses = 0;  // of those measured, the engine's decoding processes (APlayerDecoder.exe)
};

struct SoakFigures {
  // When the first file played, at each checkpoint reached, and at the end.
  std::vector<SoakSample> samples;
  int filesEnded = 0;
  int opens = 0;
  int refusedOpens = 0;   // APlayer_OpenA answered anything but 0
  int failureEvents = 0;  // the engine reported a file as unplayable (event 5)
  // From a file's end to the next one's first frame (the engine's event 6 to
  // its next "playing"), median over the run, in milliseconds.
  double medianEndToPlaying = 0.0;
  bool processFound = false;

  // Whether every sample counted the engine's decoding process in: without
  // it the figures leave out where the video is decoded.
  bool decodingProcessMeasured() const;

  // The sample taken at `files` files (the first at or after it); the last one when none.
  const SoakSample& at(int files) const;
};

// Starts `program` (its library already written) and lets it play until
// `files` files have ended or `limit` has passed, sampling the process at
// each checkpoint (files ended). Prints a line per sample when `print`.
SoakFigures soakProgram(TimedProgram& program, int files, const std::vector<int>& checkpoints,
                        std::chrono::seconds limit, bool print);

}  // namespace qova::bench
