// The matcher's behaviour, checked on the system's "VBScript.RegExp" and on
// our own matcher alike.
#include "engines/pattern/PatternMatcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

using qova::PatternEngine;
using qova::PatternMatcher;

class PatternMatcherTest : public ::testing::TestWithParam<PatternEngine> {
 protected:
  PatternMatcher matcher{GetParam()};
};

std::string engineName(const ::testing::TestParamInfo<PatternEngine>& info) {
  return info.param == PatternEngine::System ? "SystemRegExp" : "OwnMatcher";
}

const char* const kThumbnailPattern = "#<(.*?)>#<(.*?)>";

TEST_P(PatternMatcherTest, ThumbnailAnswerGivesNameAndPath) {
  ASSERT_TRUE(matcher.run(kThumbnailPattern, "#<clip>#<C:\\t\\clip.jpg>"));
  EXPECT_EQ(matcher.matchCount(), 1);
  EXPECT_EQ(matcher.groupText(1, 1), "clip");
  EXPECT_EQ(matcher.groupText(1, 2), "C:\\t\\clip.jpg");
  EXPECT_EQ(matcher.groupCount(), 2);
  EXPECT_EQ(matcher.pattern(), kThumbnailPattern);
}

TEST_P(PatternMatcherTest, EveryOccurrenceCountsWithGlobalByDefault) {
  ASSERT_TRUE(matcher.run(kThumbnailPattern, "#<clip>#<C:\\t\\clip.jpg>#<x>#<y>"));
  EXPECT_EQ(matcher.matchCount(), 2);
  EXPECT_EQ(matcher.matchText(1), "#<clip>#<C:\\t\\clip.jpg>");
  EXPECT_EQ(matcher.matchText(2), "#<x>#<y>");
  EXPECT_EQ(matcher.groupText(2, 1), "x");
  ASSERT_TRUE(matcher.run(kThumbnailPattern, "#<clip>#<C:\\t\\clip.jpg>#<x>#<y>", false, true, false));
  EXPECT_EQ(matcher.matchCount(), 1);
}

TEST_P(PatternMatcherTest, CaseIsIgnoredUnlessAskedFor) {
  ASSERT_TRUE(matcher.run("#<(.*?)>clip", "#<a>CLIP"));
  EXPECT_EQ(matcher.matchCount(), 1);
  ASSERT_TRUE(matcher.run("#<(.*?)>clip", "#<a>CLIP", true));
  EXPECT_EQ(matcher.matchCount(), 0);
}

TEST_P(PatternMatcherTest, LineFeedEndsAField) {
  ASSERT_TRUE(matcher.run(kThumbnailPattern, "#<na\nme>#<p>"));
  EXPECT_EQ(matcher.matchCount(), 0);
  EXPECT_EQ(matcher.matchText(1), "");
}

// Windows' VBScript.RegExp lets "." take a lone carriage return and ours
// does the same; Wine's stops at it, so the system's cannot be held to it here.
TEST(OwnPatternMatcher, ALoneCarriageReturnDoesNotEndAField) {
  PatternMatcher matcher(PatternEngine::Own);
  ASSERT_TRUE(matcher.run(kThumbnailPattern, "#<na\rme>#<p>"));
  EXPECT_EQ(matcher.matchCount(), 1);
  EXPECT_EQ(matcher.groupText(1, 1), "na\rme");
}

TEST_P(PatternMatcherTest, QuoteTokenStandsForADoubleQuote) {
  ASSERT_TRUE(matcher.run("#引号(.*?)#引号", "say \"hi\" #引号x#引号", false, true, true, true));
  EXPECT_EQ(matcher.matchCount(), 1);
  EXPECT_EQ(matcher.groupText(1, 1), "hi");
  EXPECT_EQ(matcher.pattern(), "\"(.*?)\"");
  ASSERT_TRUE(matcher.run("#引号(.*?)#引号", "say \"hi\" #引号x#引号"));
  EXPECT_EQ(matcher.groupText(1, 1), "x");
}

TEST_P(PatternMatcherTest, InvalidPatternGivesNothing) {
  EXPECT_FALSE(matcher.run("#<(.*?>", "#<a>"));
  EXPECT_EQ(matcher.matchCount(), 0);
  EXPECT_EQ(matcher.matchText(1), "");
  EXPECT_EQ(matcher.groupText(1, 1), "");
  EXPECT_EQ(matcher.groupCount(), 0);
  EXPECT_EQ(matcher.replace("x"), "");
}

TEST_P(PatternMatcherTest, NumbersOutsideTheMatchesGiveEmptyText) {
  ASSERT_TRUE(matcher.run(kThumbnailPattern, "#<a>#<b>"));
  EXPECT_EQ(matcher.matchText(0), "");
  EXPECT_EQ(matcher.matchText(2), "");
  EXPECT_EQ(matcher.matchText(-1), "");
  EXPECT_EQ(matcher.groupText(1, 0), "");
  EXPECT_EQ(matcher.groupText(1, 3), "");
  EXPECT_EQ(matcher.groupText(0, 1), "");
  ASSERT_TRUE(matcher.run(kThumbnailPattern, "no shape here"));
  EXPECT_EQ(matcher.matchCount(), 0);
  EXPECT_EQ(matcher.groupCount(), 0);
}

TEST_P(PatternMatcherTest, AGroupThatTookNoPartIsEmpty) {
  ASSERT_TRUE(matcher.run("(a)|(b)", "b"));
  EXPECT_EQ(matcher.groupCount(), 2);
  EXPECT_EQ(matcher.groupText(1, 1), "");
  EXPECT_EQ(matcher.groupText(1, 2), "b");
}

TEST_P(PatternMatcherTest, PositionsAreByteOffsetsOfTheAnsiSubject) {
  const std::string subject = "中文#<名字>#<路径>";
  ASSERT_TRUE(matcher.run(kThumbnailPattern, subject));
  int position = -1;
  EXPECT_EQ(matcher.matchText(1, &position), "#<名字>#<路径>");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(matcher.groupText(1, 1, &position), "名字");
  EXPECT_EQ(position, 6);
  EXPECT_EQ(matcher.groupText(1, 2, &position), "路径");
  EXPECT_EQ(position, 13);
  // No such match: the empty text, found wherever the subject has a byte.
  EXPECT_EQ(matcher.matchText(5, &position), "");
  EXPECT_EQ(position, 0);
  // Not global: Wine's object repeats an empty match for ever.
  ASSERT_TRUE(matcher.run("$", "", false, true, false));
  ASSERT_EQ(matcher.matchCount(), 1);
  EXPECT_EQ(matcher.matchText(1, &position), "");
  EXPECT_EQ(position, -2);
}

TEST_P(PatternMatcherTest, PositionSearchIgnoresCaseWhenCaseWasAskedToMatter) {
  int position = -1;
  ASSERT_TRUE(matcher.run("bb", "Bbb", true));
  EXPECT_EQ(matcher.matchText(1, &position), "bb");
  EXPECT_EQ(position, 0);  // "Bb" at byte 0 counts as the same text
  ASSERT_TRUE(matcher.run("bb", "bBb"));
  EXPECT_EQ(matcher.matchText(1, &position), "bB");
  EXPECT_EQ(position, 0);
}

TEST_P(PatternMatcherTest, ReplaceUsesTheLastRun) {
  EXPECT_EQ(matcher.replace("x"), "");
  ASSERT_TRUE(matcher.run("(a)(b)?", "xab a中"));
  EXPECT_EQ(matcher.replace("[$1|$2|$&|$$]"), "x[a|b|ab|$] [a||a|$]中");
  ASSERT_TRUE(matcher.run("a", "aaa", false, true, false));
  EXPECT_EQ(matcher.replace("b"), "baa");
}

TEST_P(PatternMatcherTest, MultilineAnchorsAtLineFeeds) {
  ASSERT_TRUE(matcher.run("^b", "a\nb"));
  EXPECT_EQ(matcher.matchCount(), 1);
  ASSERT_TRUE(matcher.run("^b", "a\nb", false, false));
  EXPECT_EQ(matcher.matchCount(), 0);
}

TEST_P(PatternMatcherTest, ReadingBeforeAnyRunGivesNothing) {
  int position = 5;
  EXPECT_EQ(matcher.matchCount(), 0);
  EXPECT_EQ(matcher.matchText(1, &position), "");
  EXPECT_EQ(matcher.groupCount(), 0);
  EXPECT_EQ(matcher.pattern(), "");
}

INSTANTIATE_TEST_SUITE_P(BothEngines, PatternMatcherTest,
                         ::testing::Values(PatternEngine::System, PatternEngine::Own), engineName);

TEST(PatternMatcherFallback, DefaultMatchersCanBeMadeToUseOurOwnMatcher) {
  PatternMatcher::preferOwnEngine(true);
  {
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.run(kThumbnailPattern, "#<na\rme>#<p>"));
    EXPECT_EQ(matcher.groupText(1, 1), "na\rme");  // our own "." takes the carriage return, on Wine too
  }
  PatternMatcher::preferOwnEngine(false);
}

}  // namespace
