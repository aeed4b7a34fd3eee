// Platform-free library logic: record bytes, cutting one record out of a
// file, moving through the library and counting entries that failed in a row.
#include <gtest/gtest.h>

#include "library/FailureStreak.h"
#include "library/LibraryRecord.h"
#include "library/VideoLibrary.h"

namespace {

using namespace std::string_literals;

TEST(LibraryRecord, HasTheLabelsAsGbkBytesAndEndsWithGreaterThanCrLf) {
  const std::string record = qova::libraryRecord("C:\\v\\a.mp4", "C:\\v\\a.jpg", "a");
  EXPECT_EQ(record,
            "\xCA\xD3\xC6\xB5\xCE\xC4\xBC\xFE\x3C"s "C:\\v\\a.mp4"
            "\x3E\xCA\xD3\xC6\xB5\xCD\xBC\xC6\xAC\x3C"s "C:\\v\\a.jpg"
            "\x3E\xCA\xD3\xC6\xB5\xC3\xFB\xB3\xC6\x3C"s "a"
            "\x3E\x0D\x0A"s);
}

TEST(LibraryRecord, TextStopsAtTheFirstNul) {
  EXPECT_EQ(qova::libraryText("abc\0def"s), "abc");
  EXPECT_EQ(qova::libraryText("abc"), "abc");
}

TEST(LibraryRecord, AnAddedRecordGoesWhereTheTextEnds) {
  EXPECT_EQ(qova::withRecordAdded("abc", "R"), "abcR");
  EXPECT_EQ(qova::withRecordAdded("abc\0\0def"s, "R"), "abcR\0\0def"s);
  EXPECT_EQ(qova::withRecordAdded("\xFF\xFE" "a\0b\0"s, "R"), "\xFF\xFE" "aR\0b\0"s) << "a file saved as UTF-16";
  EXPECT_EQ(qova::withRecordAdded("", "R"), "R");
}

TEST(LibraryRecord, CuttingARecordKeepsEveryOtherByte) {
  const std::string a = qova::libraryRecord("C:\\a.mp4", "t", "a");
  const std::string missing = qova::libraryRecord("E:\\usb\\gone.mp4", "t", "gone");
  const std::string b = qova::libraryRecord("C:\\b.mp4", "t", "b");
  const std::string file = "garbage\r\n" + a + missing + b + "tail";
  const qova::FoundRecord chosen{"C:\\b.mp4", "t", "b"};
  const qova::RecordSpan span = qova::findRecordText(file, chosen, 0);
  ASSERT_GT(span.length, 0u);
  EXPECT_EQ(qova::withoutRecord(file, span), "garbage\r\n" + a + missing + "tail");
}

TEST(LibraryRecord, DuplicatesAreTellApartByOccurrenceAndTwoOnOneLineWork) {
  const std::string record = qova::libraryRecord("C:\\a.mp4", "t", "a");
  std::string oneLine = record.substr(0, record.size() - 2);  // no CR LF between the two
  const std::string file = oneLine + record + "x";
  const qova::FoundRecord chosen{"C:\\a.mp4", "t", "a"};
  EXPECT_EQ(qova::withoutRecord(file, qova::findRecordText(file, chosen, 1)), oneLine + "x");
  EXPECT_EQ(qova::withoutRecord(file, qova::findRecordText(file, chosen, 0)), record + "x");
  EXPECT_EQ(qova::findRecordText(file, chosen, 2).length, 0u);
}

TEST(LibraryRecord, ASpanOutsideTheFileChangesNothing) {
  EXPECT_EQ(qova::withoutRecord("abc", {10, 3}), "abc");
  EXPECT_EQ(qova::withoutRecord("abc", {1, 100}), "a");
}

qova::VideoLibrary libraryOf(int count, int current) {
  qova::VideoLibrary library;
  for (int i = 1; i <= count; ++i) library.videoPaths.push_back("v" + std::to_string(i));
  library.videoCount = count;
  library.currentIndex = current;
  return library;
}

TEST(PlaybackOrder, NextAndPreviousWrapAroundTheLibrary) {
  auto library = libraryOf(4, 4);
  EXPECT_EQ(qova::nextIndex(library), 1);
  EXPECT_EQ(qova::previousIndex(library), 4);
  EXPECT_EQ(qova::previousIndex(library), 3);
  EXPECT_EQ(library.currentIndex, 3);
  auto single = libraryOf(1, 1);
  EXPECT_EQ(qova::nextIndex(single), 1);
  EXPECT_EQ(qova::previousIndex(single), 1);
}

TEST(PlaybackOrder, APositionPastTheEndStepsBackIntoTheList) {
  auto library = libraryOf(2, 3);
  EXPECT_EQ(qova::nextIndex(library), 1);
  library.currentIndex = 3;
  EXPECT_EQ(qova::previousIndex(library), 2);
}

TEST(PlaybackOrder, AnEmptyLibraryKeepsThePositionInsideTheLists) {
  auto library = libraryOf(0, 1);
  EXPECT_EQ(qova::nextIndex(library), 0);
  EXPECT_EQ(qova::previousIndex(library), 0);
  EXPECT_EQ(library.videoPathAt(library.currentIndex), "");
  EXPECT_EQ(libraryOf(3, 1).videoPathAt(4), "");
  EXPECT_EQ(libraryOf(3, 1).videoPathAt(3), "v3");
}

}  // namespace

namespace {

TEST(DeletingEntries, NeverPlaysTheDeletedEntryAndTracksTheNewPosition) {
  // Three entries, entry 1 playing, the second deleted: entry 3 plays, now at position 2.
  auto library = libraryOf(3, 1);
  const int next = qova::entryToPlayAfterDeleting(library, 1);
  EXPECT_EQ(next, 3);
  EXPECT_EQ(qova::positionAfterDeleting(next, 2), 2);
}

TEST(DeletingEntries, AdvancesAsUsualWhenAnotherEntryIsDeleted) {
  auto library = libraryOf(4, 2);
  EXPECT_EQ(qova::entryToPlayAfterDeleting(library, 0), 3);
  EXPECT_EQ(qova::positionAfterDeleting(3, 1), 2);
  library.currentIndex = 4;
  EXPECT_EQ(qova::entryToPlayAfterDeleting(library, 1), 1) << "wraps after the last";
  library.currentIndex = 3;
  EXPECT_EQ(qova::entryToPlayAfterDeleting(library, 3), 1) << "skips the deleted last entry";
}

TEST(DeletingEntries, TheOnlyEntryLeavesNothingToPlay) {
  EXPECT_EQ(qova::entryToPlayAfterDeleting(libraryOf(1, 1), 0), 0);
  EXPECT_EQ(qova::entryToPlayAfterDeleting(libraryOf(0, 0), 0), 0);
  EXPECT_EQ(qova::entryToPlayAfterDeleting(libraryOf(2, 7), 0), 2) << "a stale position wraps";
}

}  // namespace

namespace {

TEST(FailureStreak, PassesOverUntilEveryEntryFailedInARowThenStaysStopped) {
  qova::FailureStreak streak;
  EXPECT_TRUE(streak.passOver(3));
  EXPECT_TRUE(streak.passOver(3));
  EXPECT_FALSE(streak.stopped());
  EXPECT_FALSE(streak.passOver(3)) << "the third of three";
  EXPECT_TRUE(streak.stopped());
  EXPECT_FALSE(streak.passOver(3)) << "a late failure does not start another round";
  streak.reset();
  EXPECT_FALSE(streak.stopped());
  EXPECT_TRUE(streak.passOver(3)) << "a new round counts from nothing";
}

TEST(FailureStreak, AFileThatPlaysBreaksTheStreak) {
  qova::FailureStreak streak;
  EXPECT_TRUE(streak.passOver(2));
  streak.reset();
  EXPECT_TRUE(streak.passOver(2));
  EXPECT_FALSE(streak.passOver(2));
}

TEST(FailureStreak, OneEntryOrNoneStopsAtTheFirstFailure) {
  qova::FailureStreak one;
  EXPECT_FALSE(one.passOver(1)) << "the same broken file is not opened again and again";
  qova::FailureStreak none;
  EXPECT_FALSE(none.passOver(0));
}

TEST(FailureStreak, ALibraryThatShrankBelowTheStreakStops) {
  qova::FailureStreak streak;
  EXPECT_TRUE(streak.passOver(5));
  EXPECT_TRUE(streak.passOver(5));
  EXPECT_FALSE(streak.passOver(2));
}

}  // namespace
