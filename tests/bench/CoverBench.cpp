// Pausing by itself: from another program's window covering the whole
// desktop to the engine's APlayer_Pause, and from uncovering it to
// APlayer_Play; qova.exe with the real engine behind the timing engine,
// Wine's Notepad as the other program.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/bench/BenchSupport.h"
#include "tests/bench/PlayerBenches.h"
#include "tests/support/OtherProgramWindow.h"

namespace qova::bench {
namespace {

using namespace std::chrono_literals;

constexpr int kCovers = 5;

// How long after `from` the log gained its `count`-th line `what`; nothing when it did not within 5 s.
std::optional<double> millisecondsUntilLine(const std::string& log, const std::string& what, int count, Ticks from) {
  Ticks found = 0;
  test::waitUntil(
      [&] {
        int seen = 0;
        for (const LogLine& line : readTimedLog(log))
          if (line.what == what && ++seen == count) found = line.time;
        return found != 0;
      },
      5s);
  if (!found) return std::nullopt;
  return milliseconds(from, found);
}

}  // namespace

void benchCover() {
  std::printf("Pausing while the desktop is covered (Notepad maximized and restored, %d times)\n", kCovers);
  TimedProgram program;
  program.writeLibrary({buildFile("media\\bench_1080p.mp4")}, false);
  if (!program.folder().start().started() || !waitForLogLine(program.timingLog(), "event 1 3", 90s)) {
    std::printf("  qova.exe did not play\n");
    return;
  }
  const test::OtherProgramWindow other;
  HWND cover = other.window();
  if (!cover) return;
  idle(2s);
  RunTimes toPause, toPlay;
  for (int n = 1; n <= kCovers; ++n) {
    Ticks start = now();
    ::ShowWindow(cover, SW_MAXIMIZE);
    toPause.add(millisecondsUntilLine(program.timingLog(), "pause", n, start));
    idle(1s);
    start = now();
    ::ShowWindow(cover, SW_RESTORE);
    toPlay.add(millisecondsUntilLine(program.timingLog(), "play", n, start));
    idle(1s);
  }
  std::printf("  covered to APlayer_Pause: %s; uncovered to APlayer_Play: %s (target under 1,000 ms each)\n",
              toPause.summary().c_str(), toPlay.summary().c_str());
}

}  // namespace qova::bench
