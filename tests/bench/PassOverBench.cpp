// Passing over an unplayable entry: from the program's open of a file the
// engine cannot play to its open of the next entry; qova.exe with the real
// engine behind the timing engine, a library that alternates a playable
// clip with a broken file (noise bytes, a cut-off MP4).
#include <cstdio>
#include <string>
#include <vector>

#include "tests/bench/BenchSupport.h"
#include "tests/bench/PlayerBenches.h"

namespace qova::bench {
namespace {

using namespace std::chrono_literals;

constexpr int kBadEntries = 10;

}  // namespace

void benchPassOver() {
  std::printf("Passing over unplayable entries (%d of them, between playable clips)\n", kBadEntries);
  TimedProgram program;
  std::vector<std::string> videos;
  for (int i = 0; i < kBadEntries; ++i) {
    videos.push_back(buildFile("media\\bench_red.mp4"));
    videos.push_back(buildFile(i % 2 ? "media\\truncated.mp4" : "media\\corrupt.mp4"));
  }
  program.writeLibrary(videos, false);
  if (!program.folder().start().started()) return;
  std::vector<double> times;
  test::waitUntil(
      [&] {
        times.clear();
        const auto log = readTimedLog(program.timingLog());
        for (std::size_t i = 0; i < log.size(); ++i) {
          const bool badOpen = log[i].what.rfind("open ", 0) == 0 &&
                               (log[i].what.find("corrupt.mp4") != std::string::npos ||
                                log[i].what.find("truncated.mp4") != std::string::npos);
          if (!badOpen) continue;
          const int next = findLine(log, "open ", i + 1);
          if (next >= 0) times.push_back(milliseconds(log[i].time, log[static_cast<std::size_t>(next)].time));
        }
        return static_cast<int>(times.size()) >= kBadEntries;
      },
      120s);
  if (times.empty()) {
    std::printf("  no unplayable entry was passed over\n");
    return;
  }
  std::printf("  from the open of an unplayable entry to the open of the next: median of %zu %.0f ms "
              "(target under 2,000 ms)\n",
              times.size(), median(times));
}

}  // namespace qova::bench
