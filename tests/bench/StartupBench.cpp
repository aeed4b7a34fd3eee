// Start-up: from the process's start to the first frame on the screen, with
// a library of 1 entry and of 1,000 entries, each with its thumbnail file.
//
// The player is top-level (no shell layer), so that its picture reaches the
// screen under Wine; every entry is the same red clip, and the first frame
// is when the screen's centre first turns red, polled every few milliseconds.
#include <cstdio>
#include <iterator>
#include <optional>
#include <vector>

#include "tests/bench/BenchSupport.h"
#include "tests/bench/PlayerBenches.h"
#include "tests/support/TestProcess.h"

namespace qova::bench {
namespace {

using namespace std::chrono_literals;

constexpr int kRuns = 3;

struct StartTimes {
  std::optional<double> toOpen;  // process start to the program's APlayer_OpenA, ms; nothing when not logged
  double toFrame = 0.0;          // process start to the first red on the screen, ms
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
  if (open >= 0) times.toOpen = milliseconds(start, log[static_cast<std::size_t>(open)].time);
  return true;
}

const char* describe(Library library) {
  return library.entries == 1 ? "    1 entry" : library.thumbnails ? "1,000 entries" : "1,000 entries, no thumbnails";
}

}  // namespace

void benchStartup() {
  std::printf("Start-up to the first frame (player top-level), median of %d runs each\n", kRuns);
  constexpr std::size_t kCount = std::size(kLibraries);
  RunTimes toOpen[kCount], toFrame[kCount], bare;
  for (int run = 0; run < kRuns; ++run) {
    for (std::size_t i = 0; i < kCount; ++i) {
      StartTimes times;
      if (!startOnce(kLibraries[i], times)) {
        std::printf("  %s: no first frame within 60 s\n", describe(kLibraries[i]));
        toOpen[i].add(std::nullopt);
        toFrame[i].add(std::nullopt);
        continue;
      }
      toOpen[i].add(times.toOpen);
      toFrame[i].add(times.toFrame);
      std::printf("  run %d, %-34s open after %6.0f ms, first frame after %6.0f ms\n", run + 1,
                  describe(kLibraries[i]), times.toOpen.value_or(-1.0), times.toFrame);
    }
    const ReferenceStart reference = startReference(buildFile("media\\bench_red.mp4"), Colour::Red);
    bare.add(reference.firstFrame ? std::optional(milliseconds(reference.processStart, reference.firstFrame))
                                  : std::nullopt);
  }
  for (std::size_t i = 0; i < kCount; ++i)
    std::printf("  %-34s open after: %s; first frame after: %s\n", describe(kLibraries[i]),
                toOpen[i].summary().c_str(), toFrame[i].summary().c_str());
  std::printf("  bare MFPlay player: first frame from its process start: %s\n", bare.summary().c_str());
  if (!toFrame[0].milliseconds.empty() && !toFrame[1].milliseconds.empty())
    std::printf("  1,000 entries / 1 entry: %.2fx (target under 2x)\n",
                median(toFrame[1].milliseconds) / median(toFrame[0].milliseconds));
}

}  // namespace qova::bench
