// Hundreds of short files through qova.exe and the real engine, as a
// wallpaper plays them all day: memory and threads level off, and every
// good file opens. (scripts/bench soak runs the same for 30 minutes.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/bench/Soak.h"

namespace {

using namespace std::chrono_literals;
using qova::bench::SoakFigures;

constexpr int kFiles = 200;
// By then the process holds what it keeps: decoders loaded, sound device open, buffers grown.
constexpr int kSettled = 60;
// The target is under 60 MB and 10 threads more over 1,000 files; the files
// after kSettled may grow at twice that rate, for the noise of a busy machine.
constexpr double kMaxGrowthMbPerFile = 2 * 60.0 / 1000;
constexpr double kMaxThreadsPerFile = 2 * 10.0 / 1000;
// Each soak's own limit: the two of them, with the program's starts and ends,
// fit the CTest entry soak_journeys's timeout (tests/acceptance/CMakeLists.txt).
constexpr auto kSoakLimit = 600s;

SoakFigures soak(const std::vector<std::string>& clips) {
  qova::bench::TimedProgram program;
  std::vector<std::string> videos;
  for (const std::string& clip : clips) videos.push_back(qova::bench::buildFile("media\\" + clip));
  program.writeLibrary(videos, false);
  return qova::bench::soakProgram(program, kFiles, {kSettled}, kSoakLimit, true);
}

void expectLevelOff(const SoakFigures& figures) {
  ASSERT_TRUE(figures.processFound) << "the program's process was not found";
  ASSERT_TRUE(figures.decodingProcessMeasured()) << "the engine's decoding process was not measured";
  ASSERT_GE(figures.filesEnded, kFiles) << "files played to their end in time";
  EXPECT_GE(figures.opens, kFiles);
  EXPECT_EQ(figures.refusedOpens, 0) << "a good file was refused";
  EXPECT_EQ(figures.failureEvents, 0) << "a good file was reported unplayable";
  const auto& settled = figures.at(kSettled);
  const auto& end = figures.samples.back();
  const int files = end.files - settled.files;
  ASSERT_GT(files, 0);
  EXPECT_LE(end.residentMb - settled.residentMb, kMaxGrowthMbPerFile * files)
      << settled.residentMb << " MB at file " << settled.files << ", " << end.residentMb << " MB at file " << end.files;
  EXPECT_LE(end.threads - settled.threads, static_cast<int>(kMaxThreadsPerFile * files))
      << settled.threads << " threads at file " << settled.files << ", " << end.threads << " at file " << end.files;
}

TEST(SoakJourney, SeveralFilesWithAndWithoutSoundLevelOff) {
  expectLevelOff(soak({"soak_sound.mp4", "soak_silent.mp4", "soak_48k.mp4"}));
}

// A one-entry library: each end opens the same file again, which the engine rewinds.
TEST(SoakJourney, OneVideoLoopingLevelsOff) { expectLevelOff(soak({"soak_sound.mp4"})); }

}  // namespace
