// Adding videos with our real screenshot.dll.
#include <gtest/gtest.h>

#include "tests/app/AddVideoFixture.h"

namespace {

using namespace qova::test;

TEST_F(AddVideo, AGeneratedClipIsAddedWithAThumbnailThatLoadsBack) {
  const std::string clip = copyOfClip("海边 日落.mp4");
  EXPECT_EQ(addVideoChoosing(clip), "添加视频文件:");
  ASSERT_EQ(library.videoCount, 1);
  EXPECT_EQ(library.videoPaths[0], clip);
  EXPECT_EQ(library.videoNames[0], "海边 日落");
  UINT width = 0;
  EXPECT_TRUE(decodesAsJpeg(library.thumbnailPaths[0], &width)) << library.thumbnailPaths[0];
  EXPECT_EQ(width, 256u);
  EXPECT_EQ(qova::readWholeFile(qova::libraryFilePath()),
            qova::libraryRecord(clip, library.thumbnailPaths[0], "海边 日落"));
  ::DeleteFileA(library.thumbnailPaths[0].c_str());
}

TEST_F(AddVideo, TheSameFileTwiceGivesTwoRecords) {
  const std::string clip = copyOfClip("twice.mp4");
  addVideoChoosing(clip);
  addVideoChoosing(clip);
  EXPECT_EQ(library.videoCount, 2);
  EXPECT_EQ(library.videoPaths[0], library.videoPaths[1]);
  ::DeleteFileA(library.thumbnailPaths[0].c_str());
}

TEST_F(AddVideo, AnAudioOnlyFileGetsThePlaceholderPicture) {
  const std::string tone = folder.file("tone.mp3");
  qova::test::copyFileTo(qova::programFile("media\\tone.mp3"), tone);
  addVideoChoosing(tone);
  ASSERT_EQ(library.videoCount, 1);
  UINT width = 0;
  EXPECT_TRUE(decodesAsJpeg(library.thumbnailPaths[0], &width));
  EXPECT_EQ(library.videoNames[0], "tone");
  ::DeleteFileA(library.thumbnailPaths[0].c_str());
}

TEST_F(AddVideo, CancellingLeavesTheLibraryFileByteForByte) {
  const std::string before = qova::libraryRecord("C:\\kept.mp4", "k.jpg", "kept") + "trailing";
  ASSERT_TRUE(qova::writeWholeFile(qova::libraryFilePath(), before));
  addVideoChoosing("");
  EXPECT_EQ(qova::readWholeFile(qova::libraryFilePath()), before);
}

}  // namespace
