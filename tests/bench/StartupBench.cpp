// Start-up: from the process's start to the first frame on the screen, with
// a library of 1 entry and of 1,000 entries, each with its thumbnail file.
//
// The player is top-level (no shell layer), so that its picture reaches the
// screen under Wine; every entry is the same red clip, and the first frame
// is when the screen's centre first turns red, polled every few milliseconds.
#include <cstdio>
#include <vector>

#include "tests/bench/BenchSupport.h"
#include "tests/bench/PlayerBenches.h"
#include "tests/support/TestProcess.h"

namespace qova::bench {
namespace {

using namespace std::chrono_literals;

constexpr int kRuns = 3;

struct StartTimes {
  double toOpen = 0.0;   // process start to the program's APlayer_OpenA, ms
  double toFrame = 0.0;  // process start to the first red on the screen, ms
};

bool startOnce(int entries, StartTimes& times) {
  test::waitUntil([] { return screenCentreColour() != Colour::Red; }, 10s);
  TimedProgram program;
  program.writeLibrary(std::vector<std::string>(static_cast<std::size_t>(entries),
                                                buildFile("media\\bench_red.mp4")),
                       true);
  const Ticks start = now();
  test::TestProcess& process = program.folder().start();
  if (!process.started()) return false;
  const Ticks deadline = start + Ticks{10'000'000} * 60;
  while (screenCentreColour() != Colour::Red) {
    if (now() >= deadline) return false;
    ::Sleep(2);
  }
  times.toFrame = milliseconds(start, now());
  const auto log = readTimedLog(program.timingLog());
  const int open = findLine(log, "open ");
  times.toOpen = open >= 0 ? milliseconds(start, log[static_cast<std::size_t>(open)].time) : 0.0;
  return true;
}

}  // namespace

void benchStartup() {
  std::printf("Start-up to the first frame (player top-level), median of %d runs each\n", kRuns);
  std::vector<double> toOpen[2], toFrame[2];
  const int sizes[2] = {1, 1000};
  for (int run = 0; run < kRuns; ++run)
    for (int size = 0; size < 2; ++size) {
      StartTimes times;
      if (!startOnce(sizes[size], times)) {
        std::printf("  %d entries: no first frame within 60 s\n", sizes[size]);
        continue;
      }
      toOpen[size].push_back(times.toOpen);
      toFrame[size].push_back(times.toFrame);
      std::printf("  run %d, %5d entries: open after %6.0f ms, first frame after %6.0f ms\n", run + 1,
                  sizes[size], times.toOpen, times.toFrame);
    }
  for (int size = 0; size < 2; ++size)
    std::printf("  %5d entries: median open after %6.0f ms, first frame after %6.0f ms\n", sizes[size],
                median(toOpen[size]), median(toFrame[size]));
  if (median(toFrame[0]) > 0)
    std::printf("  1,000 entries / 1 entry: %.2fx (target under 2x)\n", median(toFrame[1]) / median(toFrame[0]));
}

}  // namespace qova::bench
