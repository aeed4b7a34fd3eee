// qova.exe started from a program folder of its own, beside the desktop-shell
// stand-in and the recording engine: what it opens at start-up, at the end of
// each file, and when a file cannot be played.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Playback.h"
#include "tests/app/LibraryPlaybackFixture.h"

namespace {

using namespace std::chrono_literals;
using qova::test::LibraryPlayback;
using qova::test::openCall;

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
  // The next real end, handled after them, still opens entry 2 alone: they opened nothing
  // and the position did not move.
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
  // The file that plays stays: the next end, after any news of the failures, opens the entry after it.
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall(openCall(first), mark));
  EXPECT_EQ(opensSince(mark),
            (std::vector<std::string>{openCall(refused), openCall(unplayable), openCall(second), openCall(first)}));
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
  const std::string log = qova::readWholeFile(program.file("logs\\qova.log"));
  EXPECT_EQ(log.find("cannot play"), std::string::npos) << "playback stopped for want of a start:\n" << log;
}

// A failure posted before the latest open returned was meant for the file
// before it: the newly opened entry stays.
TEST_F(LibraryPlayback, AStaleFailureAfterANewerOpenDoesNotPassOverTheNewEntry) {
  const std::string opened = makeUnplayableFile("opened.mp4", kRecordingAfterStaleFailure);
  start({first, opened, second});
  const size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall(openCall(opened), mark));
  // The stale failure has come and gone once the program says it dropped it.
  EXPECT_TRUE(qova::test::waitUntil(
      [&] { return qova::readWholeFile(program.file("logs\\qova.log")).find("of an earlier open dropped") != std::string::npos; },
      20s));
  EXPECT_EQ(opensSince(mark), std::vector<std::string>{openCall(opened)}) << "the new entry was passed over";
  // Its own failure still passes it over.
  program.fireEngineEvent(5, 0);
  ASSERT_TRUE(program.waitForEngineCall(openCall(second), mark));
}

}  // namespace
