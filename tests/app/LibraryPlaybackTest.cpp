// qova.exe started from a program folder of its own, beside the desktop-shell
// stand-in and the recording engine: what it opens at start-up and at the end
// of each file.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/ProgramFolder.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/WindowSearch.h"

namespace {

using namespace std::chrono_literals;
using qova::test::ProgramFolder;
using qova::test::ShellStandin;

std::string openCall(const std::string& path) { return "APlayer_OpenA(1," + path + ")"; }

class LibraryPlayback : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(shell.ready());
    first = program.makeVideoFile("第一.mp4");
    second = program.makeVideoFile("second.mp4");
    program.writeLibrary({{first, "t1.jpg", "第一"},
                          {program.file("missing.mp4"), "t2.jpg", "missing"},
                          {second, "t3.jpg", "second"}});
    program.writeSettings("[程序设置]\r\n窗体显示=1\r\n");
    ASSERT_TRUE(program.start().started());
    ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(")) << "nothing was opened";
  }

  // The engine calls from line `from` on that open a file.
  std::vector<std::string> opensSince(size_t from) const {
    std::vector<std::string> opens;
    auto calls = program.engineCalls();
    for (size_t i = from; i < calls.size(); ++i)
      if (calls[i].rfind("APlayer_OpenA(", 0) == 0) opens.push_back(calls[i]);
    return opens;
  }

  ShellStandin shell;
  ProgramFolder program;
  std::string first, second;
};

TEST_F(LibraryPlayback, StartUpOpensEntryOneAndEachEndOpensTheNextWrappingAfterTheLast) {
  EXPECT_EQ(opensSince(0), std::vector<std::string>{openCall(first)});
  HWND player = program.engineWindow();
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(::GetParent(player), shell.worker());

  size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(", mark));
  EXPECT_EQ(opensSince(mark), std::vector<std::string>{openCall(second)})
      << "the record of the missing video is skipped";

  mark = program.engineCalls().size();
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(", mark));
  EXPECT_EQ(opensSince(mark), std::vector<std::string>{openCall(first)}) << "wraps to entry 1";
}

TEST_F(LibraryPlayback, OtherEventsChangeNothing) {
  const size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 1);
  program.fireEngineEvent(5, 0);
  program.fireEngineEvent(1, 3);
  qova::test::pumpMessagesFor(500ms);
  EXPECT_TRUE(opensSince(mark).empty());
  // The next real end still opens entry 2: the position did not move.
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(", mark));
  EXPECT_EQ(opensSince(mark), std::vector<std::string>{openCall(second)});
}

}  // namespace
