#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/bench/PlayerBenches.h"
#include "tests/bench/Soak.h"

namespace qova::bench {
namespace {

void soakLibrary(const char* title, const std::vector<std::string>& clips, int minutes) {
  TimedProgram program;
  std::vector<std::string> videos;
  for (const std::string& clip : clips) videos.push_back(buildFile("media\\" + clip));
  program.writeLibrary(videos, false);
  std::printf("\n-- soak, %s, %d minutes\n", title, minutes);
  const SoakFigures figures =
      soakProgram(program, 1'000'000, {100, 500, 1000, 1500, 2000, 3000}, std::chrono::minutes(minutes), true);
  if (figures.samples.empty()) {
    std::printf("soak: the program did not play\n");
    return;
  }
  const SoakSample& after100 = figures.at(100);
  const SoakSample& end = figures.samples.back();
  const double perThousand = end.files > after100.files
                                 ? (end.residentMb - after100.residentMb) * 1000.0 / (end.files - after100.files)
                                 : 0.0;
  std::printf("soak: %d files ended, %d opens, %d refused, %d reported unplayable\n", figures.filesEnded,
              figures.opens, figures.refusedOpens, figures.failureEvents);
  if (!figures.decodingProcessMeasured())
    std::printf("soak: the engine's decoding process was missing from some samples: their figures leave it out\n");
  std::printf("soak: from a file's end to the next one playing: median %.0f ms\n", figures.medianEndToPlaying);
  std::printf("soak: start %.1f MB %d threads; after %d files %.1f MB %d threads; end (%d files) %.1f MB %d threads\n",
              figures.samples.front().residentMb, figures.samples.front().threads, after100.files,
              after100.residentMb, after100.threads, end.files, end.residentMb, end.threads);
  std::printf("soak: growth after the first 100 files: %+.1f MB per 1,000 files, %+d threads\n", perThousand,
              end.threads - after100.threads);
}

}  // namespace

void benchSoak() {
  const char* setting = std::getenv("QOVA_SOAK_MINUTES");
  const int minutes = setting && std::atoi(setting) > 0 ? std::atoi(setting) : 30;
  soakLibrary("three different 1 s files (44.1 kHz sound, no sound, 48 kHz sound)",
              {"bench_soak_sound.mp4", "bench_soak_silent.mp4", "bench_soak_48k.mp4"}, minutes);
  soakLibrary("one 1 s file looping", {"bench_soak_sound.mp4"}, minutes / 3 > 0 ? minutes / 3 : 1);
}

}  // namespace qova::bench
