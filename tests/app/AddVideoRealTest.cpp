// Adding videos with our real screenshot.dll.
#include <gtest/gtest.h>

#include <string>

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

TEST_F(AddVideo, ANameTheCodePageCannotWriteIsAddedByItsShortPath) {
  // Korean and an emoji: code page 936 has a place for neither.
  const std::wstring name = qova::ansiToWide(folder.path()) + L"\\\uBE44\uB514\uC624 \U0001F305.mp4";
  ASSERT_TRUE(::MoveFileW(qova::ansiToWide(copyOfClip("plain.mp4")).c_str(), name.c_str()));
  wchar_t shortName[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameW(name.c_str(), shortName, MAX_PATH), 0u) << "this volume keeps short names";
  std::string message;
  addVideoChoosing(name, &message);
  EXPECT_EQ(message, "");
  ASSERT_EQ(library.videoCount, 1);
  EXPECT_EQ(qova::ansiToWide(library.videoPaths[0]), shortName);
  EXPECT_EQ(qova::readWholeFile(library.videoPaths[0]), qova::readWholeFile(copyOfClip("same.mp4")))
      << "the short path names the chosen file";
  UINT width = 0;
  EXPECT_TRUE(decodesAsJpeg(library.thumbnailPaths[0], &width)) << library.thumbnailPaths[0];
  ::DeleteFileA(library.thumbnailPaths[0].c_str());
}

// The system's ANSI code page this run asks for: 936 (GBK) in the bench, 65001
// (UTF-8, Windows' "Beta: Use Unicode UTF-8") in add_video_tests_utf8.
UINT askedCodePage() {
  char value[16] = {};
  return ::GetEnvironmentVariableA("QOVA_TEST_CODE_PAGE", value, sizeof value) ? std::stoul(value) : 936u;
}

TEST_F(AddVideo, ANameTheSystemsCodePageWritesIsStoredAsItIs) {
  ASSERT_EQ(::GetACP(), askedCodePage());
  // Chinese has its bytes in both; Korean and an emoji only in UTF-8.
  const std::wstring title = ::GetACP() == CP_UTF8 ? L"\u6D77\u8FB9 \uBE44\uB514\uC624 \U0001F305" : L"\u6D77\u8FB9";
  const std::wstring path = qova::ansiToWide(folder.path()) + L"\\" + title + L".mp4";
  ASSERT_TRUE(::MoveFileW(qova::ansiToWide(copyOfClip("plain.mp4")).c_str(), path.c_str()));
  std::string message;
  addVideoChoosing(path, &message);
  EXPECT_EQ(message, "");
  ASSERT_EQ(library.videoCount, 1);
  EXPECT_EQ(qova::ansiToWide(library.videoPaths[0]), path) << "by its own path, not its short one";
  EXPECT_EQ(qova::ansiToWide(library.videoNames[0]), title);
  UINT width = 0;
  EXPECT_TRUE(decodesAsJpeg(library.thumbnailPaths[0], &width)) << library.thumbnailPaths[0];
  ::DeleteFileA(library.thumbnailPaths[0].c_str());
}

TEST_F(AddVideo, APathLongerThanTheDialogsBufferIsRefusedWithAMessage) {
  // 256 characters: with its NUL beyond the dialog's 255.
  const std::string start = folder.path() + "\\";
  const std::string path = start + std::string(256 - start.size() - 4, 'n') + ".mp4";
  ASSERT_TRUE(copyFileTo(copyOfClip("plain.mp4"), path));
  std::string message;
  addVideoChoosing(path, &message);
  EXPECT_NE(message.find("路径太长"), std::string::npos) << message;
  EXPECT_EQ(library.videoCount, 0);
  EXPECT_EQ(::GetFileAttributesA(qova::libraryFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(AddVideo, CancellingLeavesTheLibraryFileByteForByte) {
  const std::string before = qova::libraryRecord("C:\\kept.mp4", "k.jpg", "kept") + "trailing";
  ASSERT_TRUE(qova::writeWholeFile(qova::libraryFilePath(), before));
  addVideoChoosing("");
  EXPECT_EQ(qova::readWholeFile(qova::libraryFilePath()), before);
}

}  // namespace
