#include "runtime/LogFiles.h"

#include <gtest/gtest.h>

namespace {

using Moves = std::vector<std::pair<std::string, std::string>>;

TEST(LogFiles, RotatesOnlyWhenTheNextLineWouldPassTheLimitAndNeverAnEmptyFile) {
  EXPECT_FALSE(qova::logNeedsRotation(0, 10, 100));
  EXPECT_FALSE(qova::logNeedsRotation(90, 10, 100)) << "exactly at the limit still fits";
  EXPECT_TRUE(qova::logNeedsRotation(91, 10, 100));
  EXPECT_FALSE(qova::logNeedsRotation(0, 5000, 100)) << "a line past the limit gets a file of its own";
  EXPECT_TRUE(qova::logNeedsRotation(1, 5000, 100));
  EXPECT_TRUE(qova::logNeedsRotation(1048576, 1));
  EXPECT_FALSE(qova::logNeedsRotation(1048575, 1));
}

TEST(LogFiles, RotationMovesTheOldestFirstAndKeepsThreeOlderFiles) {
  EXPECT_EQ(qova::logFileName(0), "qova.log");
  EXPECT_EQ(qova::logFileName(2), "qova.2.log");
  EXPECT_EQ(qova::logRotationMoves(),
            (Moves{{"qova.2.log", "qova.3.log"}, {"qova.1.log", "qova.2.log"}, {"qova.log", "qova.1.log"}}));
  EXPECT_EQ(qova::logRotationMoves(1), (Moves{{"qova.log", "qova.1.log"}}));
  EXPECT_TRUE(qova::logRotationMoves(0).empty());
}

TEST(LogFiles, ALineIsStampedAndStaysOneLine) {
  const qova::LogTime time{2026, 1, 2, 3, 4, 5, 67};
  EXPECT_EQ(qova::formatLogLine(time, "open 1: ok"), "2026-01-02 03:04:05.067 open 1: ok\r\n");
  EXPECT_EQ(qova::formatLogLine(time, "a\r\nb\n"), "2026-01-02 03:04:05.067 a  b \r\n");
}

TEST(LogFiles, TheTailKeepsTheLastLinesInOrder) {
  qova::LogTail tail(2);
  EXPECT_EQ(tail.text(), "");
  tail.add("1\n");
  tail.add("2\n");
  tail.add("3\n");
  EXPECT_EQ(tail.text(), "2\n3\n");
  qova::LogTail none(0);
  none.add("x");
  EXPECT_EQ(none.text(), "");
}

}  // namespace
