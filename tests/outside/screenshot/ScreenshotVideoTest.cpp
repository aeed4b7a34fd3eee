// Thumbnails of real videos: the frame, its size and aspect, the name, and
// keeping different videos' pictures apart.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "library/LibraryRecord.h"
#include "runtime/WholeFile.h"
#include "tests/outside/screenshot/ScreenshotFixture.h"
#include "tests/support/TempFolder.h"

namespace qova::test {
namespace {

// Brightness below which a thumbnail counts as black.
constexpr double kBlackBrightness = 20.0;

// Prints how long one thumbnail took, for the record (never a pass/fail criterion).
void reportTime(const std::string& what, const ScreenshotAnswer& answer) {
  std::printf("[ time     ] %s: %lld ms\n", what.c_str(), static_cast<long long>(answer.took.count()));
}

TEST_F(ScreenshotTest, H264ClipGivesItsNameAndA256WideJpegOfAFrame) {
  const std::optional<ScreenshotAnswer> answer = answerFor(mediaFile("clip_testsrc.mp4"));
  ASSERT_TRUE(answer);
  reportTime("clip_testsrc.mp4 (320x240 H.264)", *answer);
  ASSERT_TRUE(answer->matched) << answer->text;
  EXPECT_EQ(answer->name, "clip_testsrc");
  EXPECT_EQ(answer->text, "#<clip_testsrc>#<" + answer->image + ">") << "nothing before or after the fields";
  EXPECT_TRUE(std::regex_match(answer->image, std::regex(".*\\\\thumbs\\\\clip_testsrc_[0-9a-f]{16}\\.jpg")))
      << answer->image;
  ASSERT_TRUE(isJpegFile(answer->image));
  const std::optional<Picture> picture = decodePictureFile(answer->image);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 256);
  EXPECT_EQ(picture->height, 192);
  EXPECT_GT(picture->meanBrightness(), 60.0) << "the test pattern is bright and colourful";
}

TEST_F(ScreenshotTest, WmvMjpegAndOtherClipsGiveFramesOfTheirOwn) {
  std::vector<Picture> pictures;
  for (const char* clip : {"clip.wmv", "clip_mjpeg.avi", "clip_smptebars.mp4", "clip_short.mp4"}) {
    std::string name;
    const Picture picture = thumbnailOf(mediaFile(clip), &name);
    EXPECT_EQ(name, std::string(clip).substr(0, std::string(clip).rfind('.')));
    EXPECT_EQ(picture.width, 256) << clip;
    EXPECT_EQ(picture.height, 192) << clip;
    EXPECT_GT(picture.meanBrightness(), kBlackBrightness) << clip;
    for (const Picture& earlier : pictures) EXPECT_GT(picture.differenceFrom(earlier), 10.0) << clip;
    pictures.push_back(picture);
  }
}

TEST_F(ScreenshotTest, WideAndHighDefinitionClipsKeepTheirAspect) {
  const Picture wide = thumbnailOf(mediaFile("clip_wide.mp4"));
  EXPECT_EQ(wide.width, 256);
  EXPECT_EQ(wide.height, 96);
  EXPECT_GT(wide.meanChannel(2), 200.0) << "the wide clip is pure red";
  EXPECT_LT(wide.meanChannel(1), 40.0);
  EXPECT_LT(wide.meanChannel(0), 40.0);

  const std::optional<ScreenshotAnswer> answer = answerFor(mediaFile("clip_hd.mp4"));
  ASSERT_TRUE(answer && answer->matched);
  reportTime("clip_hd.mp4 (1920x1080 H.264)", *answer);
  const std::optional<Picture> hd = decodePictureFile(answer->image);
  ASSERT_TRUE(hd);
  EXPECT_EQ(hd->width, 256);
  EXPECT_EQ(hd->height, 144);
  EXPECT_GT(hd->meanBrightness(), kBlackBrightness);
}

TEST_F(ScreenshotTest, BlackOpeningIsPassedOverForALaterFrame) {
  // 2.5 s of black, then the test pattern: the first positions tried are black.
  const Picture picture = thumbnailOf(mediaFile("clip_black_start.mp4"));
  EXPECT_EQ(picture.width, 256);
  EXPECT_GT(picture.meanBrightness(), 60.0);
}

TEST_F(ScreenshotTest, SameFileTwiceGivesTheSameValidThumbnail) {
  const std::optional<ScreenshotAnswer> first = answerFor(mediaFile("clip_smptebars.mp4"));
  ASSERT_TRUE(first && first->matched);
  const std::string firstBytes = readWholeFile(first->image);
  const std::optional<ScreenshotAnswer> second = answerFor(mediaFile("clip_smptebars.mp4"));
  ASSERT_TRUE(second && second->matched);
  reportTime("clip_smptebars.mp4 again", *second);
  EXPECT_EQ(second->text, first->text);
  EXPECT_EQ(readWholeFile(second->image), firstBytes) << "the same frame, encoded the same way";
  EXPECT_TRUE(decodePictureFile(second->image));
}

TEST_F(ScreenshotTest, SameFileNameInTwoFoldersGetsTwoThumbnails) {
  TempFolder folder("screenshot");
  ASSERT_TRUE(::CreateDirectoryA(folder.file("one").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(folder.file("two").c_str(), nullptr));
  ASSERT_TRUE(copyFileTo(mediaFile("clip_testsrc.mp4"), folder.file("one\\clip.mp4")));
  ASSERT_TRUE(copyFileTo(mediaFile("clip_smptebars.mp4"), folder.file("two\\clip.mp4")));
  const std::optional<ScreenshotAnswer> one = answerFor(folder.file("one\\clip.mp4"));
  const std::optional<ScreenshotAnswer> two = answerFor(folder.file("two\\clip.mp4"));
  ASSERT_TRUE(one && one->matched && two && two->matched);
  EXPECT_EQ(one->name, "clip");
  EXPECT_EQ(two->name, "clip");
  EXPECT_NE(one->image, two->image);
  const std::optional<Picture> first = decodePictureFile(one->image);
  const std::optional<Picture> second = decodePictureFile(two->image);
  ASSERT_TRUE(first && second) << "the second did not overwrite the first";
  EXPECT_GT(first->differenceFrom(*second), 10.0);
}

TEST_F(ScreenshotTest, ChineseSpacesAndPunctuationInThePathAndTheNameReadBackFromARecord) {
  TempFolder folder("screenshot");
  const std::string subfolder = folder.file("视频 文件夹");
  ASSERT_TRUE(::CreateDirectoryA(subfolder.c_str(), nullptr));
  const std::string stem = "我的 视频 #1 (副本) [v2] 100% & more.final";
  const std::string video = subfolder + "\\" + stem + ".mp4";
  ASSERT_TRUE(copyFileTo(mediaFile("clip_testsrc.mp4"), video));
  std::string name;
  const Picture picture = thumbnailOf(video, &name);
  EXPECT_EQ(name, stem);
  EXPECT_EQ(picture.width, 256);
  EXPECT_EQ(picture.height, 192);
  EXPECT_GT(picture.meanBrightness(), 60.0);

  // The library keeps the answer's fields in one record and finds them again.
  const std::optional<ScreenshotAnswer> answer = answerFor(video);
  ASSERT_TRUE(answer && answer->matched);
  const std::string record = libraryRecord(video, answer->image, answer->name);
  std::smatch fields;
  ASSERT_TRUE(std::regex_search(record, fields, std::regex(kLibraryRecordPattern)));
  EXPECT_EQ(fields[1], video);
  EXPECT_EQ(fields[2], answer->image);
  EXPECT_EQ(fields[3], stem);
}

TEST_F(ScreenshotTest, VeryLongNameIsKeptWhileThePicturePathStaysShort) {
  TempFolder folder("screenshot");
  std::string stem;
  while (stem.size() < 180) stem += "长名字 long name ";
  const std::string video = folder.file(stem + ".avi");
  ASSERT_TRUE(copyFileTo(mediaFile("clip_mjpeg.avi"), video));
  const std::optional<ScreenshotAnswer> answer = answerFor(video);
  ASSERT_TRUE(answer && answer->matched);
  EXPECT_EQ(answer->name, stem);
  EXPECT_LT(answer->image.size(), thumbnailFolder().size() + 80);
  const std::optional<Picture> picture = decodePictureFile(answer->image);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 256);
}

}  // namespace
}  // namespace qova::test
