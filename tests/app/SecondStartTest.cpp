// qova.exe started again while it runs: from the same folder (the shortcut
// clicked twice, start with Windows while it runs) the second start brings
// the running program's library window forward and ends; from another
// folder it is another installation and runs beside the first.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>

#include "tests/app/RunningProgram.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

class SecondStart : public RunningProgram {
 protected:
  // The player windows in the shell's layer.
  size_t playersInTheLayer() const { return childWindows(shell.worker()).size(); }
};

TEST_F(SecondStart, FromTheSameFolderShowsTheRunningLibraryWindowAndEndsWithCodeZero) {
  start();
  ASSERT_FALSE(popupVisible());
  ASSERT_EQ(playersInTheLayer(), 1u);
  const size_t engineMark = program.engineCalls().size();

  // Spelled in other letters' case, as a Run value or a shortcut may spell it.
  std::string path = program.file("qova.exe");
  std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
  TestProcess second(path, "");
  ASSERT_TRUE(second.started()) << path;
  const auto exitCode = second.waitForExit(15s);
  ASSERT_TRUE(exitCode.has_value()) << "the second start kept running";
  EXPECT_EQ(*exitCode, 0u);

  EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 5s)) << "the library window did not show";
  EXPECT_TRUE(program.process().running());
  EXPECT_EQ(playersInTheLayer(), 1u);
  EXPECT_TRUE(engineCallsSince(engineMark).empty()) << "the second start reached the engine";
}

TEST_F(SecondStart, FromAnotherFolderIsAnotherInstallationAndRunsBesideTheFirst) {
  start();
  ProgramFolder other;
  other.writeLibrary({{other.makeVideoFile("other.mp4"), "", "other"}});
  ASSERT_TRUE(other.start().started());
  ASSERT_TRUE(other.waitForEngineCall("APlayer_OpenA(", 0, 30s)) << "the other copy did not start playing";
  EXPECT_TRUE(program.process().running());
  EXPECT_TRUE(other.process().running());
  EXPECT_TRUE(waitUntil([&] { return playersInTheLayer() == 2u; }, 10s));
}

}  // namespace
}  // namespace qova::test
