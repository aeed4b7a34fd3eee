// Platform-free parts of the file dialogs: the filter bytes, the file-name
// buffer and the reading of a multiple selection.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "shell/DialogFilter.h"

namespace {

using namespace std::string_literals;

// "質" in GBK: its second byte is the vertical bar.
constexpr const char* kGbkWithBarTrail = "\xD9\x7C";

TEST(DialogFilter, EveryBarBecomesNulAndTwoNulsEndTheList) {
  EXPECT_EQ(qova::dialogFilterBytes("A|*.a|B|*.b"), "A\0*.a\0B\0*.b\0\0"s);
  EXPECT_EQ(qova::dialogFilterBytes(""), "\0\0"s);
  EXPECT_EQ(qova::dialogFilterBytes("|"), "\0\0\0"s);
}

TEST(DialogFilter, ReplacesABarThatIsTheSecondByteOfADoubleByteCharacter) {
  const std::string filter = std::string("\xCA\xD3\xC6\xB5") + kGbkWithBarTrail + "|*.mp4";
  EXPECT_EQ(qova::dialogFilterBytes(filter), "\xCA\xD3\xC6\xB5\xD9\0\0*.mp4\0\0"s);
}

TEST(DialogFilter, TheApplicationsVideoFilterIsOneDisplayTextAndOnePatternList) {
  const std::string patterns =
      "*.mp4;*.mov;*.mkv;*.avi;*.wmv;*.flv;*.rmvb;*.mp3;*.wav;*.wma;*.flac;*.ape";
  const std::string display = "\xCA\xD3\xC6\xB5\xCE\xC4\xBC\xFE\xA3\xA8" + patterns + "\xA3\xA9";
  EXPECT_EQ(qova::dialogFilterBytes(display + "|" + patterns),
            display + "\0"s + patterns + "\0\0"s);
}

TEST(FileNameBuffer, IsZeroFilledToItsCapacityAndHoldsTheName) {
  const std::string buffer = qova::fileNameBuffer("a.mp4", 255);
  ASSERT_EQ(buffer.size(), 255u);
  EXPECT_EQ(buffer.substr(0, 6), "a.mp4\0"s);
  EXPECT_EQ(buffer.find_first_not_of('\0', 5), std::string::npos);
  EXPECT_EQ(qova::fileNameBuffer("", 4096), std::string(4096, '\0'));
}

TEST(FileNameBuffer, CutsTheNameTo254BytesSoThatItsNulFits) {
  const std::string name(300, 'n');
  const std::string buffer = qova::fileNameBuffer(name, 255);
  ASSERT_EQ(buffer.size(), 255u);
  EXPECT_EQ(qova::textBeforeNul(buffer), std::string(254, 'n'));
  EXPECT_EQ(qova::textBeforeNul(qova::fileNameBuffer(std::string(254, 'm'), 255)),
            std::string(254, 'm'));
  EXPECT_EQ(qova::fileNameBuffer(name, 0), "");
  EXPECT_EQ(qova::fileNameBuffer(name, 1), "\0"s);
}

TEST(FileNameBuffer, TheCutMaySplitADoubleByteCharacter) {
  const std::string name = std::string(253, 'a') + "\xCA\xD3";  // 255 bytes, 视 last
  EXPECT_EQ(qova::textBeforeNul(qova::fileNameBuffer(name, 255)), std::string(253, 'a') + "\xCA");
}

TEST(DialogAnswer, TextEndsAtTheFirstNul) {
  EXPECT_EQ(qova::textBeforeNul("C:\\v\\a.mp4\0junk"s), "C:\\v\\a.mp4");
  EXPECT_EQ(qova::textBeforeNul("no nul"), "no nul");
  EXPECT_EQ(qova::textBeforeNul(std::string(10, '\0')), "");
}

std::string answerBuffer(const std::string& answer) {
  std::string buffer = answer;
  buffer.resize(4096, '\0');
  return buffer;
}

// What the dialog left in the file-name buffer, and the selection read from it.
struct Selection {
  const char* name;
  std::string buffer;
  std::string expected;
};

void PrintTo(const Selection& s, std::ostream* out) { *out << s.name; }

const Selection kSelections[] = {
    {"OneFileIsItsFullPath", answerBuffer("C:\\v\\x.mp4"), "C:\\v\\x.mp4"},
    {"TwoFilesAreFolderPlusNameJoinedByCrLf", answerBuffer("C:\\v\0x.mp4\0y.mp4"s), "C:\\v\\x.mp4\r\nC:\\v\\y.mp4"},
    {"ThreeFiles", answerBuffer("C:\\v\0a\0b\0c"s), "C:\\v\\a\r\nC:\\v\\b\r\nC:\\v\\c"},
    {"ARootFolderKeepsItsOneBackslash", answerBuffer("C:\\\0x.mp4\0y.mp4"s), "C:\\x.mp4\r\nC:\\y.mp4"},
    {"NothingAfterTheFirstDoubleNulIsRead", "C:\\v\0x.mp4\0\0C:\\old\0z.mp4\0\0"s, "C:\\v\\x.mp4"},
    {"NothingAfterAFullPathsDoubleNulIsRead", "C:\\v\\x.mp4\0\0stale"s, "C:\\v\\x.mp4"},
    {"AnEmptyBufferGivesNothing", std::string(4096, '\0'), ""},
    {"NoBytesGiveNothing", "", ""},
    {"AnUnterminatedSelectionGivesWhatItHolds", "C:\\v\0x.mp4"s, "C:\\v\\x.mp4"},
    {"AFolderAloneGivesTheFolder", "C:\\v\0"s, "C:\\v\\"},
    // 视频 and 片 end in ordinary trail bytes and stay whole.
    {"GbkFolderAndNamesPassThroughByteForByte", answerBuffer("D:\\\xCA\xD3\xC6\xB5\0\xC6\xAC.mp4\0b.mp4"s),
     "D:\\\xCA\xD3\xC6\xB5\\\xC6\xAC.mp4\r\nD:\\\xCA\xD3\xC6\xB5\\b.mp4"},
    // Names are split after their NULs have become the filter's separator byte.
    {"AByteLikeTheFilterSeparatorInANameSplitsItToo", answerBuffer("C:\\v\0"s + kGbkWithBarTrail + ".mp4\0y.mp4"s),
     "C:\\v\\\xD9\r\nC:\\v\\.mp4\r\nC:\\v\\y.mp4"},
};

class MultipleSelection : public ::testing::TestWithParam<Selection> {};

TEST_P(MultipleSelection, IsReadFromTheBuffer) {
  EXPECT_EQ(qova::joinSelectedFiles(GetParam().buffer), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Answers, MultipleSelection, ::testing::ValuesIn(kSelections),
                         [](const ::testing::TestParamInfo<Selection>& row) { return std::string(row.param.name); });

}  // namespace

TEST(MultipleSelection, TheUnicodeAnswerGivesOneFullPathPerFile) {
  using namespace std::string_literals;
  auto buffer = [](std::wstring answer) {
    answer.resize(4096, L'\0');
    return answer;
  };
  EXPECT_EQ(qova::selectedFiles(buffer(L"C:\\v\\\u6d77.mp4")), std::vector<std::wstring>{L"C:\\v\\\u6d77.mp4"});
  EXPECT_EQ(qova::selectedFiles(buffer(L"C:\\v\0x.mp4\0y.mp4"s)),
            (std::vector<std::wstring>{L"C:\\v\\x.mp4", L"C:\\v\\y.mp4"}));
  EXPECT_EQ(qova::selectedFiles(buffer(L"C:\\\0x.mp4\0\0C:\\old\0z.mp4"s)), std::vector<std::wstring>{L"C:\\x.mp4"});
  EXPECT_TRUE(qova::selectedFiles(buffer(L"")).empty());
}

TEST(FilterExtensions, EveryPatternOfEveryFilterOnceInLowerCase) {
  EXPECT_EQ(qova::filterExtensions("视频文件（*.mp4;*.MOV）|*.mp4;*.MOV;*.mp4|声音|*.wav|全部|*.*|其他|a?.x;*.flac"),
            (std::vector<std::string>{".mp4", ".mov", ".wav", ".flac"}));
  EXPECT_TRUE(qova::filterExtensions("").empty());
  EXPECT_TRUE(qova::filterExtensions("只有说明").empty());
}
