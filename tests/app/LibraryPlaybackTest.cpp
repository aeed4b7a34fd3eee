// qova.exe started from a program folder of its own, beside the desktop-shell
// stand-in and the recording engine: what it opens at start-up, at the end of
// each file, and when a file cannot be played.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Hotkeys.h"
#include "app/Playback.h"
#include "runtime/WholeFile.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"
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
    program.writeSettings("[程序设置]\r\n窗体显示=1\r\n");
  }

  // Writes the library with one record per video, in this order, and starts the program.
  void start(const std::vector<std::string>& videos) {
    std::vector<ProgramFolder::Entry> entries;
    for (const std::string& video : videos) entries.push_back({video, "t.jpg", "v"});
    program.writeLibrary(entries);
    ASSERT_TRUE(program.start().started());
    ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(")) << "nothing was opened";
  }
  void startWithAMissingVideo() {
    start({first, program.file("missing.mp4"), second});
  }

  // A file the recording engine cannot play, in the way `failure` names.
  std::string makeUnplayableFile(const std::string& name, const char* failure) const {
    qova::writeWholeFile(program.file(name), failure);
    return program.file(name);
  }
  // A file the stand-in engine plays for `milliseconds` and then ends, reporting nothing else.
  std::string makeTimedFile(const std::string& name, int milliseconds) const {
    qova::writeWholeFile(program.file(name), kRecordingPlaysFor + std::to_string(milliseconds));
    return program.file(name);
  }
  // Ctrl+Alt+F10, as the system reports it to the program's window.
  void pressPlayPause() {
    HWND window = qova::test::findProcessWindow(program.process().id(), "QovaMainWindow");
    ASSERT_NE(window, nullptr);
    ::PostMessageA(window, WM_HOTKEY, qova::kHotkeyPlayPause, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F10));
  }
  // The engine calls from line `from` on that open a file or end one that plays for its time.
  std::vector<std::string> opensAndEndsSince(size_t from) const {
    std::vector<std::string> lines;
    auto calls = program.engineCalls();
    for (size_t i = from; i < calls.size(); ++i)
      if (calls[i].rfind("APlayer_OpenA(", 0) == 0 || calls[i].rfind(kRecordingEndedLine, 0) == 0)
        lines.push_back(calls[i]);
    return lines;
  }
  std::string libraryText() const { return qova::readWholeFile(program.file("spconfiguration_file.ini")); }

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
  startWithAMissingVideo();
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
  startWithAMissingVideo();
  const size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 1);
  program.fireEngineEvent(5, 1);
  program.fireEngineEvent(1, 3);
  program.fireEngineEvent(1, 0);
  qova::test::pumpMessagesFor(500ms);
  EXPECT_TRUE(opensSince(mark).empty());
  // The next real end still opens entry 2: the position did not move.
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(", mark));
  EXPECT_EQ(opensSince(mark), std::vector<std::string>{openCall(second)});
}

TEST_F(LibraryPlayback, AFileRefusedAtItsOpenAndOneReportedUnplayableArePassedOver) {
  const std::string refused = makeUnplayableFile("refused.mp4", kRecordingCannotOpen);
  const std::string unplayable = makeUnplayableFile("unplayable.mp4", kRecordingCannotPlay);
  start({first, refused, unplayable, second});
  const std::string libraryBefore = libraryText();

  const size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 0);
  // Each failure is known at once here: the refusal, then event 5 right after the open.
  ASSERT_TRUE(program.waitForEngineCall(openCall(second), mark, 4s)) << "not passed over to the entry after them";
  EXPECT_EQ(opensSince(mark), (std::vector<std::string>{openCall(refused), openCall(unplayable), openCall(second)}));
  qova::test::pumpMessagesFor(500ms);
  EXPECT_EQ(opensSince(mark).size(), 3u) << "the file that plays stays";
  EXPECT_EQ(libraryText(), libraryBefore) << "the records stay in the library";
}

TEST_F(LibraryPlayback, AVideoDeletedWhileListedIsPassedOverAndKeepsItsRecord) {
  start({first, second});
  const std::string libraryBefore = libraryText();
  ASSERT_TRUE(::DeleteFileA(second.c_str()));
  const size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall(openCall(first), mark, 4s));
  EXPECT_EQ(opensSince(mark), (std::vector<std::string>{openCall(second), openCall(first)}));
  EXPECT_EQ(libraryText(), libraryBefore);
}

TEST_F(LibraryPlayback, AFileThatNeverStartsIsPassedOverAfterTheStartTimeout) {
  const std::string silent = makeUnplayableFile("silent.mp4", kRecordingShowsNothing);
  start({first, silent, second});
  const size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall(openCall(silent), mark, 4s));
  const auto opened = std::chrono::steady_clock::now();
  // Bounded loosely: how soon after the time-out it moves on is the
  // pass-over benchmark's figure, not something a busy machine should fail.
  ASSERT_TRUE(program.waitForEngineCall(openCall(second), mark, qova::kStartTimeout + 20s))
      << "still waiting on the file that never started";
  const auto waited = std::chrono::steady_clock::now() - opened;
  EXPECT_GT(waited, qova::kStartTimeout - 1s) << "passed over before its time";
  EXPECT_EQ(opensSince(mark), (std::vector<std::string>{openCall(silent), openCall(second)}));
}

// An engine that keeps only the contract's promises reports no states: a
// file that plays longer than the start watch's time is not passed over, and
// the pause hotkey pauses and resumes it rather than opening it again.
TEST_F(LibraryPlayback, WithAnEngineThatSendsOnlyTheEndFilesPlayToTheirEndAndTheHotkeyPauses) {
  const std::string longFirst = makeTimedFile("long1.mp4", 30000);
  const std::string longSecond = makeTimedFile("long2.mp4", 30000);
  start({longFirst, longSecond});
  const std::string ended = std::string(kRecordingEndedLine) + "1)";

  size_t mark = program.engineCalls().size();
  pressPlayPause();
  ASSERT_TRUE(program.waitForEngineCall("APlayer_Pause(", mark));
  pressPlayPause();
  ASSERT_TRUE(program.waitForEngineCall("APlayer_Play(", mark));
  EXPECT_TRUE(opensSince(mark).empty()) << "the hotkey opened the file again";

  ASSERT_TRUE(program.waitForEngineCall(openCall(longSecond), mark, 30s + qova::kStartTimeout + 30s));
  EXPECT_EQ(opensAndEndsSince(mark), (std::vector<std::string>{ended, openCall(longSecond)}))
      << "the first file was not played to its end";
}

TEST_F(LibraryPlayback, WithAnEngineThatSendsOnlyTheEndAOneEntryLibraryLoops) {
  const std::string only = makeTimedFile("only.mp4", static_cast<int>(qova::kStartTimeout.count()) + 1500);
  start({only});
  const std::string ended = std::string(kRecordingEndedLine) + "1)";
  const size_t mark = program.engineCalls().size();
  for (int round = 0; round < 2; ++round)
    ASSERT_TRUE(program.waitForEngineCall(ended, program.engineCalls().size(), qova::kStartTimeout + 30s))
        << "round " << round;
  ASSERT_TRUE(program.waitForEngineCall(openCall(only), program.engineCalls().size() - 1));
  EXPECT_EQ(opensAndEndsSince(mark), (std::vector<std::string>{ended, openCall(only), ended, openCall(only)}));
}

// A failure posted before the latest open returned was meant for the file
// before it: the newly opened entry stays.
TEST_F(LibraryPlayback, AStaleFailureAfterANewerOpenDoesNotPassOverTheNewEntry) {
  const std::string opened = makeUnplayableFile("opened.mp4", kRecordingAfterStaleFailure);
  start({first, opened, second});
  const size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall(openCall(opened), mark));
  qova::test::pumpMessagesFor(1500ms);
  EXPECT_EQ(opensSince(mark), std::vector<std::string>{openCall(opened)}) << "the new entry was passed over";
  // Its own failure still passes it over.
  program.fireEngineEvent(5, 0);
  ASSERT_TRUE(program.waitForEngineCall(openCall(second), mark));
}

}  // namespace
