// Switching: from the end of one file to the first frame of the next.
//
// A library of short clips, each one solid colour, in the order red, green,
// blue, red... is played by qova.exe (player top-level, where its picture
// reaches the screen under Wine), then by the bare reference player, which
// gives each file a fresh MFPlay player. The end of a file is when the
// player reports it (qova.exe: the engine's event 6 in the timing engine's
// log, once its last frame has been shown; the reference: see below); the first frame
// of the next is when the screen's centre first shows that file's colour,
// polled every few milliseconds from this process.
#include <cstdio>
#include <vector>

#include "tests/bench/BenchSupport.h"
#include "tests/bench/PlayerBenches.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace qova::bench {
namespace {

using namespace std::chrono_literals;

constexpr int kSwitches = 10;
constexpr int kReferenceSwitches = 5;
const Colour kColours[] = {Colour::Red, Colour::Green, Colour::Blue};
const char* const kClips[] = {"media\\bench_red.mp4", "media\\bench_green.mp4", "media\\bench_blue.mp4"};

std::vector<std::string> clipsFor(int switches) {
  std::vector<std::string> videos;
  for (int i = 0; i <= switches; ++i) videos.push_back(buildFile(kClips[i % 3]));
  return videos;
}

struct Change {
  Ticks time;
  Colour colour;
};

struct Recording {
  std::vector<Change> changes;  // what the screen's centre showed, from when
  std::vector<LogLine> log;     // the player's time-stamped log
  // Samples of the screen's centre once the first clip showed, and those of
  // them that were none of the clips' colours (black, or a torn frame).
  int samples = 0;
  int otherSamples = 0;
};

// Watches the screen until `log` holds `switches` lines `endLine` and the
// last file's colour shows (two minutes at most).
Recording record(const std::string& log, const std::string& endLine, int switches) {
  Recording recording;
  recording.changes.push_back({now(), screenCentreColour()});
  const Ticks deadline = now() + Ticks{10'000'000} * 120;
  Ticks nextLogRead = 0;
  for (bool done = false; !done && now() < deadline;) {
    const Colour colour = screenCentreColour();
    if (colour != recording.changes.back().colour) recording.changes.push_back({now(), colour});
    if (colour != Colour::Other || recording.samples > 0) {
      ++recording.samples;
      recording.otherSamples += colour == Colour::Other;
    }
    if (now() >= nextLogRead) {
      nextLogRead = now() + 2'000'000;
      int ends = 0;
      for (const LogLine& line : readTimedLog(log)) ends += line.what == endLine;
      done = ends >= switches && colour == kColours[switches % 3];
      // The last sample, of the last clip, is not one between two clips.
      if (done) --recording.samples;
    }
    ::Sleep(2);
  }
  recording.log = readTimedLog(log);
  return recording;
}

// The first time at or after `from` that the screen turned `colour`; 0 if never.
Ticks firstShown(const std::vector<Change>& changes, Ticks from, Colour colour) {
  for (const Change& change : changes)
    if (change.time >= from && change.colour == colour) return change.time;
  return 0;
}

// Prints one row per switch; the totals in milliseconds. "in open": how
// long the engine's APlayer_OpenA took (qova.exe only: the previous file's
// teardown and the next one's start happen in there).
std::vector<double> switchTimes(const Recording& recording, const std::string& endLine, int switches) {
  const auto& log = recording.log;
  std::vector<double> totals;
  std::printf("  %-8s %14s %14s %18s %10s\n", "switch", "end to open", "in open", "open to frame", "total");
  std::size_t from = 0;
  for (int n = 1; n <= switches; ++n) {
    const int end = findLine(log, endLine, from);
    if (end < 0) break;
    const int open = findLine(log, "open", static_cast<std::size_t>(end));
    from = static_cast<std::size_t>(end) + 1;
    const Ticks ended = log[static_cast<std::size_t>(end)].time;
    const Ticks shown = firstShown(recording.changes, ended, kColours[n % 3]);
    if (open < 0 || !shown) {
      std::printf("  %-8d the next file's picture was not seen\n", n);
      continue;
    }
    const Ticks opened = log[static_cast<std::size_t>(open)].time;
    const int returned = findLine(log, "opened", static_cast<std::size_t>(open));
    const double inOpen = returned < 0 ? 0.0 : milliseconds(opened, log[static_cast<std::size_t>(returned)].time);
    totals.push_back(milliseconds(ended, shown));
    std::printf("  %-8d %11.0f ms %11.0f ms %15.0f ms %7.0f ms\n", n, milliseconds(ended, opened), inOpen,
                milliseconds(opened, shown), totals.back());
  }
  return totals;
}

void printOtherSamples(const Recording& recording, int switches) {
  std::printf("  samples of the screen's centre that showed neither clip: %d of %d (%.1f per switch)\n",
              recording.otherSamples, recording.samples, static_cast<double>(recording.otherSamples) / switches);
}

}  // namespace

void benchSwitching() {
  std::printf("Switching between short clips (player top-level)\n");
  std::printf(" qova.exe, %d switches\n", kSwitches);
  double programMedian = 0.0;
  {
    TimedProgram program;
    program.writeLibrary(clipsFor(kSwitches), false);
    if (!program.folder().start().started()) {
      std::printf("  qova.exe did not start\n");
      return;
    }
    const Recording recording = record(program.timingLog(), "event 6 0", kSwitches);
    const auto times = switchTimes(recording, "event 6 0", kSwitches);
    programMedian = median(times);
    std::printf("  median of %zu switches: %.0f ms (target under 150 ms)\n", times.size(), programMedian);
    printOtherSamples(recording, kSwitches);
  }

  std::printf(" bare reference player (MFPlay), %d switches\n", kReferenceSwitches);
  test::waitUntil([] { return screenCentreColour() != kColours[0]; }, 10s);
  test::TempFolder folder("reference_player");
  const std::string log = folder.file("reference.log");
  std::string arguments = "\"" + log + "\"";
  for (const std::string& clip : clipsFor(kReferenceSwitches)) arguments += " \"" + clip + "\"";
  test::TestProcess player(buildFile(kReferencePlayer), arguments);
  if (!player.started()) return;
  const Recording recording = record(log, "ended", kReferenceSwitches);
  const auto times = switchTimes(recording, "ended", kReferenceSwitches);
  printOtherSamples(recording, kReferenceSwitches);
  std::printf("  median of %zu switches: %.0f ms; qova.exe / reference: %.2fx\n", times.size(), median(times),
              median(times) > 0 ? programMedian / median(times) : 0.0);
}

}  // namespace qova::bench
