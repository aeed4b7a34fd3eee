// Switching: from the end of one file to the first frame of the next.
//
// qova.exe (player top-level, where its picture reaches the screen under
// Wine) plays a library of short clips, each one solid colour, in the order
// red, green, blue, red... The end of a file is when the engine reports it to
// the program (event 6 in the timing engine's log); the first frame of the
// next is when the screen's centre first shows that file's colour, polled
// every few milliseconds from this process.
#include <cstdio>
#include <vector>

#include "tests/bench/BenchSupport.h"
#include "tests/bench/PlayerBenches.h"
#include "tests/support/TestProcess.h"

namespace qova::bench {
namespace {

using namespace std::chrono_literals;

constexpr int kSwitches = 10;
const Colour kColours[] = {Colour::Red, Colour::Green, Colour::Blue};
const char* const kClips[] = {"media\\bench_red.mp4", "media\\bench_green.mp4", "media\\bench_blue.mp4"};

struct Change {
  Ticks time;
  Colour colour;
};

// The first time at or after `from` that the screen turned `colour`; 0 if never.
Ticks firstShown(const std::vector<Change>& changes, Ticks from, Colour colour) {
  for (const Change& change : changes)
    if (change.time >= from && change.colour == colour) return change.time;
  return 0;
}

}  // namespace

void benchSwitching() {
  std::printf("Switching between short clips, %d switches (player top-level)\n", kSwitches);
  TimedProgram program;
  std::vector<std::string> videos;
  for (int i = 0; i <= kSwitches; ++i) videos.push_back(buildFile(kClips[i % 3]));
  program.writeLibrary(videos, false);
  test::TestProcess& process = program.folder().start();
  if (!process.started()) {
    std::printf("  qova.exe did not start\n");
    return;
  }

  std::vector<Change> changes{{now(), screenCentreColour()}};
  std::vector<LogLine> log;
  const Ticks deadline = now() + Ticks{10'000'000} * 120;
  Ticks nextLogRead = 0;
  for (bool done = false; !done && now() < deadline;) {
    const Colour colour = screenCentreColour();
    if (colour != changes.back().colour) changes.push_back({now(), colour});
    if (now() >= nextLogRead) {
      nextLogRead = now() + 2'000'000;
      log = readTimedLog(program.timingLog());
      int ends = 0;
      for (const LogLine& line : log) ends += line.what == "event 6 0";
      done = ends >= kSwitches && colour == kColours[kSwitches % 3];
    }
    ::Sleep(2);
  }
  log = readTimedLog(program.timingLog());

  std::vector<double> totals;
  std::printf("  %-8s %14s %18s %10s\n", "switch", "end to open", "open to frame", "total");
  std::size_t from = 0;
  for (int n = 1; n <= kSwitches; ++n) {
    const int end = findLine(log, "event 6 0", from);
    if (end < 0) break;
    const int open = findLine(log, "open ", static_cast<std::size_t>(end));
    from = static_cast<std::size_t>(end) + 1;
    const Ticks ended = log[static_cast<std::size_t>(end)].time;
    const Ticks shown = firstShown(changes, ended, kColours[n % 3]);
    if (open < 0 || !shown) {
      std::printf("  %-8d the next file's picture was not seen\n", n);
      continue;
    }
    const Ticks opened = log[static_cast<std::size_t>(open)].time;
    totals.push_back(milliseconds(ended, shown));
    std::printf("  %-8d %11.0f ms %15.0f ms %7.0f ms\n", n, milliseconds(ended, opened),
                milliseconds(opened, shown), totals.back());
  }
  std::printf("  median of %zu switches: %.0f ms (target under 150 ms)\n", totals.size(), median(totals));

  // What the platform alone takes from creating a player to its first frame.
  std::vector<double> bare;
  for (int run = 0; run < 3; ++run) {
    const ReferenceStart reference = startReference(buildFile(kClips[1]), kColours[1]);
    if (reference.open && reference.firstFrame) bare.push_back(milliseconds(reference.open, reference.firstFrame));
  }
  std::printf("  bare MFPlay player, creating the player to its first frame: median of %zu runs %.0f ms\n",
              bare.size(), median(bare));
}

}  // namespace qova::bench
