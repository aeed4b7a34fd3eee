// Platform-free library logic: record bytes, cutting one record out of a
// file, moving through the library and counting entries that failed in a row.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

#include "library/FailureStreak.h"
#include "library/LibraryRecord.h"
#include "library/PlayOrder.h"
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

namespace {

TEST(PlayOrder, ShuffledEachRoundPlaysEveryEntryOnceAndNoEntryTwiceInARowWhereRoundsMeet) {
  for (int count : {2, 3, 5}) {
    SCOPED_TRACE(count);
    qova::PlayOrder order;
    order.seed(static_cast<uint32_t>(count));
    qova::VideoLibrary library = libraryOf(count, 0);
    library.currentIndex = order.first(library, true);
    std::vector<int> played{library.currentIndex};
    for (int i = 1; i < count * 200; ++i) played.push_back(order.next(library, true));
    EXPECT_EQ(library.currentIndex, played.back());
    std::set<std::vector<int>> rounds;
    for (std::size_t start = 0; start < played.size(); start += static_cast<std::size_t>(count)) {
      std::vector<int> round(played.begin() + static_cast<std::ptrdiff_t>(start),
                             played.begin() + static_cast<std::ptrdiff_t>(start) + count);
      rounds.insert(round);
      std::sort(round.begin(), round.end());
      std::vector<int> every(static_cast<std::size_t>(count));
      std::iota(every.begin(), every.end(), 1);
      ASSERT_EQ(round, every) << "round at " << start;
    }
    for (std::size_t i = 1; i < played.size(); ++i) ASSERT_NE(played[i], played[i - 1]) << "at " << i;
    // Two entries can only alternate; more must vary from round to round.
    if (count > 2) {
      EXPECT_GT(rounds.size(), 1u) << "every round in the same order";
    }
  }
}

TEST(PlayOrder, PreviousWalksTheRoundBackAndAClickElsewhereGoesOnFromThere) {
  qova::PlayOrder order;
  order.seed(1);
  qova::VideoLibrary library = libraryOf(5, 0);
  library.currentIndex = order.first(library, true);
  const int a = library.currentIndex;
  const int b = order.next(library, true);
  const int c = order.next(library, true);
  EXPECT_EQ(order.previous(library, true), b);
  EXPECT_EQ(order.previous(library, true), a);
  EXPECT_EQ(order.next(library, true), b);
  EXPECT_EQ(order.next(library, true), c);
  // A click on entry a: the round goes on after a, as it stood.
  library.currentIndex = a;
  EXPECT_EQ(order.next(library, true), b);
  // Unshuffled, the library's own order, wrapping.
  library.currentIndex = 5;
  EXPECT_EQ(order.next(library, false), 1);
  EXPECT_EQ(order.previous(library, false), 5);
  EXPECT_EQ(order.first(library, false), 1);
  // A library that grew: a new round begun with the entry that plays.
  library.videoCount = 6;
  library.currentIndex = 4;
  std::set<int> seen{4};
  for (int i = 0; i < 5; ++i) seen.insert(order.next(library, true));
  EXPECT_EQ(seen.size(), 6u);
  qova::VideoLibrary empty = libraryOf(0, 0);
  EXPECT_EQ(order.next(empty, true), 0);
  EXPECT_EQ(order.first(empty, true), 0);
}

}  // namespace
