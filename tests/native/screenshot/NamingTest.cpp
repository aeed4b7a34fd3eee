// Display names and thumbnail file names: what survives the program's two
// patterns, double-byte paths, and keeping two videos' thumbnails apart.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <regex>
#include <string>

#include "library/LibraryRecord.h"
#include "outside/screenshot/VideoNaming.h"

namespace qova::screenshot {
namespace {

using namespace std::string_literals;

// "乗" in GBK: its trail byte is a backslash. "亅": its trail byte is '|'.
const std::string kBackslashTrail = "\x81\x5c";
const std::string kBarTrail = "\x81\x7c";

std::string stem(std::string_view path) { return fileStem(path, isGbkLeadByte); }

TEST(FileStem, IsTheFileNameWithoutItsLastExtension) {
  EXPECT_EQ(stem("C:\\videos\\clip.mp4"), "clip");
  EXPECT_EQ(stem("C:\\videos\\clip.final.mp4"), "clip.final");
  EXPECT_EQ(stem("clip.mp4"), "clip");
  EXPECT_EQ(stem("D:/mixed\\slashes/clip.avi"), "clip");
  EXPECT_EQ(stem("C:\\videos.d\\noextension"), "noextension") << "a dot in a folder is no extension";
  EXPECT_EQ(stem("C:\\videos\\.mp4"), ".mp4") << "a leading dot starts the name, not an extension";
  EXPECT_EQ(stem("C:\\videos\\"), "");
  EXPECT_EQ(stem(""), "");
}

TEST(FileStem, DoubleByteCharactersWhoseTrailByteIsABackslashStayWhole) {
  EXPECT_EQ(stem("C:\\" + kBackslashTrail + "\\" + kBackslashTrail + "x.mp4"), kBackslashTrail + "x");
  EXPECT_EQ(stem("C:\\v\\" + kBackslashTrail + ".mp4"), kBackslashTrail);
  // Read byte by byte, the same path would give "x" (after the trail backslash).
  EXPECT_NE(stem("C:\\v\\" + kBackslashTrail + "x.mp4"), "x");
}

TEST(SoundExtension, NamesSoundFormatsInAnyCaseAndNothingElse) {
  for (const char* path : {"a.mp3", "C:\\m\\a.WAV", "a.Flac", "a.b.ogg", "x\\.y\\a.wma", "a.ape"})
    EXPECT_TRUE(hasSoundExtension(path, isGbkLeadByte)) << path;
  for (const char* path : {"a.mp4", "a.mp3.mp4", "a", ".mp3", "C:\\mp3\\a", "a.mp3x", "C:\\x.mp3\\a.avi"})
    EXPECT_FALSE(hasSoundExtension(path, isGbkLeadByte)) << path;
}

TEST(RecordSafeText, ReplacesWhatEndsAFieldOrALineAndKeepsTheRest) {
  EXPECT_EQ(recordSafeText("a>b"), "a_b");
  EXPECT_EQ(recordSafeText("line\r\nbreak\tand\x01" "bell"), "line  break and bell");
  EXPECT_EQ(recordSafeText("<#<#>>"), "<#<#__");
  EXPECT_EQ(recordSafeText("\xCA\xD3\xC6\xB5 " + kBackslashTrail + kBarTrail), "\xCA\xD3\xC6\xB5 " + kBackslashTrail + kBarTrail);
}

// The program reads a name and an image path back out of two kinds of text.
struct ReadBack {
  std::string name;
  std::string image;
};

ReadBack fromResult(const std::string& text) {
  std::smatch match;
  if (!std::regex_search(text, match, std::regex("#<(.*?)>#<(.*?)>"))) return {};
  return {match[1], match[2]};
}

ReadBack fromLibraryRecord(const std::string& text) {
  std::smatch match;
  if (!std::regex_search(text, match, std::regex(kLibraryRecordPattern))) return {};
  return {match[3], match[2]};
}

TEST(VideoDisplayName, EveryNameComesBackUnchangedFromTheResultAndFromTheLibraryRecord) {
  const std::string image = "C:\\QOVA\\thumbs\\x_0123456789abcdef.jpg";
  for (const std::string& stemText :
       {"clip"s, "a>b"s, "x>#<y"s, "#<#<"s, "<<>>"s, "ends with #"s, "two\r\nlines"s, "\xCA\xD3\xC6\xB5\xC3\xFB\xB3\xC6<"s,
        kBackslashTrail + kBarTrail + ">"s, " spaced  out "s, ".hidden"s}) {
    const std::string name = videoDisplayName("C:\\videos\\" + stemText + ".mp4", isGbkLeadByte);
    const std::string result = "#<" + name + ">#<" + image + ">";
    const ReadBack back = fromResult(result);
    EXPECT_EQ(back.name, name) << stemText;
    EXPECT_EQ(back.image, image) << stemText;
    const ReadBack record = fromLibraryRecord(libraryRecord("C:\\videos\\v.mp4", image, name));
    EXPECT_EQ(record.name, name) << stemText;
    EXPECT_EQ(record.image, image) << stemText;
  }
}

TEST(CutAtCharacter, NeverSplitsADoubleByteCharacter) {
  const std::string text = "ab\xD6\xD0\xCE\xC4";  // "ab中文"
  EXPECT_EQ(cutAtCharacter(text, 2, isGbkLeadByte), "ab");
  EXPECT_EQ(cutAtCharacter(text, 3, isGbkLeadByte), "ab");
  EXPECT_EQ(cutAtCharacter(text, 4, isGbkLeadByte), "ab\xD6\xD0");
  EXPECT_EQ(cutAtCharacter(text, 100, isGbkLeadByte), text);
  EXPECT_EQ(cutAtCharacter("ab\xD6", 3, isGbkLeadByte), "ab\xD6") << "a lead byte at the very end stands alone";
  EXPECT_EQ(cutAtCharacter("", 5, isGbkLeadByte), "");
}

TEST(VideoIdentity, ChangesWithPathSizeAndTimeOnly) {
  const uint64_t base = videoIdentity("C:\\a\\clip.mp4", 1000, 42);
  EXPECT_EQ(base, videoIdentity("C:\\a\\clip.mp4", 1000, 42));
  EXPECT_NE(base, videoIdentity("C:\\b\\clip.mp4", 1000, 42));
  EXPECT_NE(base, videoIdentity("C:\\a\\clip.mp4", 1001, 42));
  EXPECT_NE(base, videoIdentity("C:\\a\\clip.mp4", 1000, 43));
}

std::string repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

struct Thumbnail {
  const char* name;
  std::string videoName;
  uint64_t identity;
  std::string expected;
};

void PrintTo(const Thumbnail& t, std::ostream* out) { *out << t.name; }

const Thumbnail kThumbnails[] = {
    {"TheNameAndTheIdentityInHex", "clip", 0x0123456789abcdefULL, "clip_0123456789abcdef.jpg"},
    {"NoName", "", 0, "_0000000000000000.jpg"},
    {"UnsafeCharactersBecomeUnderscores", "a\\b/c:d*e?f\"g<h>i|j#k%l\x01m", 1,
     "a_b_c_d_e_f_g_h_i_j_k_l_m_0000000000000001.jpg"},
    {"DoubleByteCharactersWhoseTrailLooksUnsafeStay", kBackslashTrail + kBarTrail, 2,
     kBackslashTrail + kBarTrail + "_0000000000000002.jpg"},
    // 48 bytes at most, cut at a character: "x" and 23 two-byte characters
    // (an odd start, so that a cut by bytes would split one).
    {"LongNamesAreCutAtACharacter", "x" + repeated("\xD6\xD0", 100), 3,
     "x" + repeated("\xD6\xD0", 23) + "_0000000000000003.jpg"},
};

class ThumbnailFileName : public ::testing::TestWithParam<Thumbnail> {};

TEST_P(ThumbnailFileName, IsTheShortenedSafeNameAndTheIdentityInHex) {
  const Thumbnail& t = GetParam();
  EXPECT_EQ(thumbnailFileName(t.videoName, t.identity, isGbkLeadByte), t.expected);
}

INSTANTIATE_TEST_SUITE_P(Names, ThumbnailFileName, ::testing::ValuesIn(kThumbnails),
                         [](const ::testing::TestParamInfo<Thumbnail>& row) { return std::string(row.param.name); });

TEST(ThumbnailFileNames, TwoVideosOfTheSameNameInDifferentFoldersGetDifferentFiles) {
  const std::string a = thumbnailFileName("clip", videoIdentity("C:\\one\\clip.mp4", 10, 1), isGbkLeadByte);
  const std::string b = thumbnailFileName("clip", videoIdentity("C:\\two\\clip.mp4", 10, 1), isGbkLeadByte);
  EXPECT_NE(a, b);
}

}  // namespace
}  // namespace qova::screenshot
