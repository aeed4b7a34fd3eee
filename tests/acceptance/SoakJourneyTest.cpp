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

SoakFigures soak(const std::vector<std::string>& clips) {
  qova::bench::TimedProgram program;
  std::vector<std::string> videos;
  for (const std::string& clip : clips) videos.push_back(qova::bench::buildFile("media\\" + clip));
  program.writeLibrary(videos, false);
  return qova::bench::soakProgram(program, kFiles, {kSettled}, 600s, true);
}

void expectLevelOff(const SoakFigures& figures) {
  ASSERT_TRUE(figures.processFound) << "the program's process was not found";
  ASSERT_GE(figures.filesEnded, kFiles) << "files played to their end in time";
  EXPECT_GE(figures.opens, kFiles);
  EXPECT_EQ(figures.refusedOpens, 0) << "a good file was refused";
  EXPECT_EQ(figures.failureEvents, 0) << "a good file was reported unplayable";
  const auto& settled = figures.at(kSettled);
  const auto& end = figures.samples.back();
  // Flat means under 60 MB and 10 threads over the next 1,000 files; these
  // 140 get far more than their share, for the noise of a busy machine.
  EXPECT_LT(end.residentMb - settled.residentMb, 30.0);
  EXPECT_LT(end.threads - settled.threads, 6);
}

TEST(SoakJourney, SeveralFilesWithAndWithoutSoundLevelOff) {
  expectLevelOff(soak({"soak_sound.mp4", "soak_silent.mp4", "soak_48k.mp4"}));
}

// A one-entry library: each end opens the same file again, which the engine rewinds.
TEST(SoakJourney, OneVideoLoopingLevelsOff) { expectLevelOff(soak({"soak_sound.mp4"})); }

}  // namespace
