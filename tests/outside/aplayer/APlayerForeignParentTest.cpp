// The engine as the program uses it: its window a child of the shell's
// background worker, a window of another process (here the shell stand-in's).
// Under Wine nothing drawn there reaches the screen, so only structure and
// playback are checked.
#include <gtest/gtest.h>

#include "tests/outside/aplayer/PlayerFixture.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

constexpr PlayerEvent kFileEnded{kAPlayerEventFileEnded, 0};

using APlayerForeignParent = PlayerFixture;

TEST_F(APlayerForeignParent, PlaysInTheShellWorkerAndOpensTheNextFileFromTheEndEvent) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  HWND worker = shell.requestWorker();
  ASSERT_NE(worker, nullptr) << shell.logText();

  const int32_t engine = createEngine(worker, 0, 0, 320, 240);
  ASSERT_NE(engine, 0);
  HWND window = api.getWindow(engine);
  EXPECT_EQ(::GetParent(window), worker);
  EXPECT_TRUE(::IsWindowVisible(window));

  int32_t nextOpen = kAPlayerFailed;
  setEventReaction([&](PlayerEvent event) {
    if (event == kFileEnded && countEvents(kFileEnded) == 1)
      nextOpen = api.open(engine, mediaFile("clip_testsrc.mp4").c_str());
  });
  ASSERT_TRUE(open(engine, "clip_short.mp4"));
  ASSERT_TRUE(waitForEvents(kFileEnded, 2)) << "both files end inside the other process's window";
  EXPECT_EQ(nextOpen, kAPlayerOk);

  ASSERT_EQ(api.destroy(engine), kAPlayerOk);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_TRUE(::IsWindow(worker)) << "the worker outlives the engine's window";
}

}  // namespace
}  // namespace qova::test
