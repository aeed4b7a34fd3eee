#include "engines/pattern/OwnRegExp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qova::regex::OwnMatch;
using qova::regex::OwnRegExp;

struct Found {
  int index;
  std::u16string text;
  bool operator==(const Found&) const = default;
};

OwnRegExp makeRegExp(std::u16string_view pattern, bool ignoreCase = true, bool multiline = true, bool global = true) {
  OwnRegExp re;
  re.setPattern(pattern);
  re.setIgnoreCase(ignoreCase);
  re.setMultiline(multiline);
  re.setGlobal(global);
  return re;
}

std::vector<Found> found(const OwnRegExp& re, std::u16string_view subject) {
  std::vector<Found> result;
  auto matches = re.execute(subject);
  EXPECT_TRUE(matches.has_value());
  if (!matches) return result;
  for (const OwnMatch& m : *matches)
    result.push_back({m.index, std::u16string(subject.substr(static_cast<size_t>(m.index), static_cast<size_t>(m.length)))});
  return result;
}

std::u16string group(std::u16string_view subject, const OwnMatch& m, size_t g) {
  const auto [start, length] = m.groups.at(g - 1);
  if (start < 0) return u"<none>";
  return std::u16string(subject.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
}

TEST(OwnRegExp, LibraryRecordsGiveTheirThreeFields) {
  const std::u16string text =
      u"视频文件<C:\\v\\a.mp4>视频图片<C:\\v\\a.jpg>视频名称<a>\r\n"
      u"garbage\r\n视频文件<D:\\影片\\b.mkv>视频图片<D:\\t\\b.png>视频名称<名字>\r\n";
  auto re = makeRegExp(u"视频文件<(.*?)>视频图片<(.*?)>视频名称<(.*?)>");
  auto matches = re.execute(text);
  ASSERT_TRUE(matches);
  ASSERT_EQ(matches->size(), 2u);
  EXPECT_EQ(group(text, (*matches)[0], 1), u"C:\\v\\a.mp4");
  EXPECT_EQ(group(text, (*matches)[0], 2), u"C:\\v\\a.jpg");
  EXPECT_EQ(group(text, (*matches)[0], 3), u"a");
  EXPECT_EQ(group(text, (*matches)[1], 1), u"D:\\影片\\b.mkv");
  EXPECT_EQ(group(text, (*matches)[1], 3), u"名字");
  EXPECT_EQ((*matches)[1].index, 50);
}

TEST(OwnRegExp, DotStopsAtLineFeedButNotAtCarriageReturn) {
  auto re = makeRegExp(u"<(.*?)>");
  EXPECT_EQ(found(re, u"<a\nb> <c\rd>"), (std::vector<Found>{{6, u"<c\rd>"}}));
}

TEST(OwnRegExp, NonGreedyAndGreedy) {
  EXPECT_EQ(found(makeRegExp(u"a.*?b"), u"aXbYb"), (std::vector<Found>{{0, u"aXb"}}));
  EXPECT_EQ(found(makeRegExp(u"a.*b"), u"aXbYb"), (std::vector<Found>{{0, u"aXbYb"}}));
  EXPECT_EQ(found(makeRegExp(u"a{2,3}?"), u"aaaa"), (std::vector<Found>{{0, u"aa"}, {2, u"aa"}}));
  EXPECT_EQ(found(makeRegExp(u"a{2,3}"), u"aaaa"), (std::vector<Found>{{0, u"aaa"}}));
}

TEST(OwnRegExp, EmptyMatchesAdvanceOneCodeUnit) {
  EXPECT_EQ(found(makeRegExp(u"a*"), u"baaa"), (std::vector<Found>{{0, u""}, {1, u"aaa"}, {4, u""}}));
  EXPECT_EQ(found(makeRegExp(u""), u"ab").size(), 3u);
}

TEST(OwnRegExp, AnchorsFollowMultilineAtLineFeedAndCarriageReturn) {
  EXPECT_EQ(found(makeRegExp(u"^b"), u"a\rb\nb"), (std::vector<Found>{{2, u"b"}, {4, u"b"}}));
  EXPECT_EQ(found(makeRegExp(u"^b", true, false), u"a\rb\nb"), (std::vector<Found>{}));
  EXPECT_EQ(found(makeRegExp(u"a$"), u"a\ra\na"), (std::vector<Found>{{0, u"a"}, {2, u"a"}, {4, u"a"}}));
  EXPECT_EQ(found(makeRegExp(u"a$", true, false), u"a\ra\na"), (std::vector<Found>{{4, u"a"}}));
}

TEST(OwnRegExp, CaseIsIgnoredOnlyWhenAsked) {
  EXPECT_EQ(found(makeRegExp(u"abc"), u"xABC").size(), 1u);
  EXPECT_EQ(found(makeRegExp(u"abc", false), u"xABC").size(), 0u);
  EXPECT_EQ(found(makeRegExp(u"[a-c]+"), u"xABC"), (std::vector<Found>{{1, u"ABC"}}));
  EXPECT_EQ(found(makeRegExp(u"[^a]"), u"Ab"), (std::vector<Found>{{1, u"b"}}));
  EXPECT_EQ(found(makeRegExp(u"\u0430"), u"\u0410").size(), 1u);  // Cyrillic a
  EXPECT_EQ(found(makeRegExp(u"s"), u"\u017f").size(), 0u);  // long s does not fold onto ASCII
}

TEST(OwnRegExp, EscapesAndClasses) {
  EXPECT_EQ(found(makeRegExp(u"\\d+\\s\\w+"), u"x 12 ab_3"), (std::vector<Found>{{2, u"12 ab_3"}}));
  EXPECT_EQ(found(makeRegExp(u"\\x41\\u4E2D"), u"A中"), (std::vector<Found>{{0, u"A中"}}));
  EXPECT_EQ(found(makeRegExp(u"\\bab\\B"), u"ab abc"), (std::vector<Found>{{3, u"ab"}}));
  EXPECT_EQ(found(makeRegExp(u"[\\]a-]+"), u"x]-a"), (std::vector<Found>{{1, u"]-a"}}));
  EXPECT_EQ(found(makeRegExp(u"a{,2}"), u"a{,2}"), (std::vector<Found>{{0, u"a{,2}"}}));
  EXPECT_EQ(found(makeRegExp(u"\\8"), u"\\8"), (std::vector<Found>{{0, u"\\8"}}));
  EXPECT_EQ(found(makeRegExp(u"\\s"), u"\u3000\u00a0 "), (std::vector<Found>{{2, u" "}}));
}

TEST(OwnRegExp, GroupsAlternationAndLookAhead) {
  const std::u16string text = u"ab";
  auto re = makeRegExp(u"(?:(a)|b)+");
  auto m = re.execute(text);
  ASSERT_TRUE(m && m->size() == 1);
  EXPECT_EQ(group(text, (*m)[0], 1), u"a");  // kept from the earlier round
  EXPECT_EQ(found(makeRegExp(u"a(?=b)"), u"acab"), (std::vector<Found>{{2, u"a"}}));
  EXPECT_EQ(found(makeRegExp(u"a(?!b)"), u"abac"), (std::vector<Found>{{2, u"a"}}));
  EXPECT_EQ(found(makeRegExp(u"(a)\\1"), u"aA aa"), (std::vector<Found>{{0, u"aA"}, {3, u"aa"}}));
  EXPECT_EQ(found(makeRegExp(u"(a)\\1", false), u"aA aa"), (std::vector<Found>{{3, u"aa"}}));
}

TEST(OwnRegExp, InvalidPatternsAreRefused) {
  for (std::u16string_view bad : {u"(", u"a)", u"[a", u"*a", u"a**", u"a{2}{3}", u"^*", u"\\", u"[z-a]",
                                  u"a{3,1}", u"a{99999}", u"(?<n>a)", u"[a-\\d]"}) {
    OwnRegExp re = makeRegExp(bad);
    EXPECT_FALSE(re.execute(u"abc").has_value()) << std::string(bad.begin(), bad.end());
  }
}

TEST(OwnRegExp, ReplaceExpandsDollarForms) {
  auto re = makeRegExp(u"(a)(b)?");
  EXPECT_EQ(re.replace(u"xaby a", u"[$1|$2|$&|$$|$3|$01|$0]"),
            u"x[a|b|ab|$|$3|a|$0]y [a||a|$|$3|a|$0]");
  EXPECT_EQ(makeRegExp(u"b").replace(u"abc", u"$`$'"), u"aacc");
  EXPECT_EQ(makeRegExp(u"b", true, true, false).replace(u"bbb", u"x"), u"xbb");
  EXPECT_EQ(makeRegExp(u"x*").replace(u"abc", u"-"), u"-a-b-c-");
  EXPECT_FALSE(makeRegExp(u"(").replace(u"abc", u"-").has_value());
}

TEST(OwnRegExp, TenMegabyteSingleLineSubject) {
  std::u16string text(10'000'000, u'a');
  text += u"视频文件<x>视频图片<y>视频名称<z>";
  auto re = makeRegExp(u"视频文件<(.*?)>视频图片<(.*?)>视频名称<(.*?)>");
  auto m = re.execute(text);
  ASSERT_TRUE(m);
  ASSERT_EQ(m->size(), 1u);
  EXPECT_EQ((*m)[0].index, 10'000'000);
  auto lazy = makeRegExp(u"a.*?b|(a+)$");
  auto all = lazy.execute(std::u16string(10'000'000, u'a'));
  ASSERT_TRUE(all);
  ASSERT_EQ(all->size(), 1u);
  EXPECT_EQ((*all)[0].groups[0].second, 10'000'000);
}

}  // namespace
