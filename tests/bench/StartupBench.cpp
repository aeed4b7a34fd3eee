// Start-up: from the process's start to the first frame on the screen, with
// a library of 1 entry and of 1,000 entries, each with its thumbnail file.
//
// The player is top-level (no shell layer), so that its picture reaches the
// screen under Wine; every entry is the same red clip, and the first frame
// is when the screen's centre first turns red, polled every few milliseconds.
#include <cstdio>
#include <iterator>
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

struct Library {
  int entries;
  bool thumbnails;
};
constexpr Library kLibraries[] = {{1, true}, {1000, true}, {1000, false}};

bool startOnce(Library library, StartTimes& times) {
  test::waitUntil([] { return screenCentreColour() != Colour::Red; }, 10s);
  TimedProgram program;
  program.writeLibrary(std::vector<std::string>(static_cast<std::size_t>(library.entries),
                                                buildFile("media\\bench_red.mp4")),
                       library.thumbnails);
  const Ticks start = now();
  test::TestProcess& process = program.folder().start();
  if (!process.started()) return false;
  const Ticks shown = waitForColour(Colour::Red, 60s);
  if (!shown) return false;
  times.toFrame = milliseconds(start, shown);
  const auto log = readTimedLog(program.timingLog());
  const int open = findLine(log, "open ");
  times.toOpen = open >= 0 ? milliseconds(start, log[static_cast<std::size_t>(open)].time) : 0.0;
  return true;
}

const char* describe(Library library) {
  return library.entries == 1 ? "    1 entry" : library.thumbnails ? "1,000 entries" : "1,000 entries, no thumbnails";
}

}  // namespace

void benchStartup() {
  std::printf("Start-up to the first frame (player top-level), median of %d runs each\n", kRuns);
  constexpr std::size_t kCount = std::size(kLibraries);
  std::vector<double> toOpen[kCount], toFrame[kCount], bare;
  for (int run = 0; run < kRuns; ++run) {
    for (std::size_t i = 0; i < kCount; ++i) {
      StartTimes times;
      if (!startOnce(kLibraries[i], times)) {
        std::printf("  %s: no first frame within 60 s\n", describe(kLibraries[i]));
        continue;
      }
      toOpen[i].push_back(times.toOpen);
      toFrame[i].push_back(times.toFrame);
      std::printf("  run %d, %-34s open after %6.0f ms, first frame after %6.0f ms\n", run + 1,
                  describe(kLibraries[i]), times.toOpen, times.toFrame);
    }
    const ReferenceStart reference = startReference(buildFile("media\\bench_red.mp4"), Colour::Red);
    if (reference.firstFrame) bare.push_back(milliseconds(reference.processStart, reference.firstFrame));
  }
  for (std::size_t i = 0; i < kCount; ++i)
    std::printf("  median, %-34s open after %6.0f ms, first frame after %6.0f ms\n", describe(kLibraries[i]),
                median(toOpen[i]), median(toFrame[i]));
  std::printf("  median, bare MFPlay player: first frame after %6.0f ms from its process start\n", median(bare));
  if (median(toFrame[0]) > 0)
    std::printf("  1,000 entries / 1 entry: %.2fx (target under 2x)\n", median(toFrame[1]) / median(toFrame[0]));
}

}  // namespace qova::bench
