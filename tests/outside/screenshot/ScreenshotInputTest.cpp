// Inputs that are not a plain good video: no path, no file, sound only,
// broken files, and the export's binding itself.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "tests/outside/screenshot/ScreenshotFixture.h"
#include "tests/support/TempFolder.h"

namespace qova::test {
namespace {

TEST(ScreenshotExport, IsFoundByItsGbkNameAndByNoOtherSpelling) {
  HMODULE module = ::GetModuleHandleA(kScreenshotLibrary);
  if (!module) module = ::LoadLibraryA(programFile(kScreenshotLibrary).c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_NE(::GetProcAddress(module, "\xCA\xD3\xC6\xB5\xBD\xD8\xCD\xBC"), nullptr) << "视频截图 in GBK";
  EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(module, kScreenshotExport)),
            reinterpret_cast<void*>(screenshotExport()));
  EXPECT_EQ(::GetProcAddress(module, "\xE8\xA7\x86\xE9\xA2\x91\xE6\x88\xAA\xE5\x9B\xBE"), nullptr) << "UTF-8";
  EXPECT_EQ(::GetProcAddress(module, "captureVideoScreenshot"), nullptr) << "the implementation's own name";
}

TEST_F(ScreenshotTest, NoPathEmptyPathMissingFileAndFoldersGiveNull) {
  EXPECT_FALSE(makeThumbnail(nullptr));
  EXPECT_FALSE(makeThumbnail(""));
  EXPECT_FALSE(makeThumbnail("C:\\no\\such\\folder\\clip.mp4"));
  EXPECT_FALSE(makeThumbnail(mediaFile("no_such_clip.mp4").c_str()));
  EXPECT_FALSE(makeThumbnail(programDirectory().c_str())) << "a folder";
  EXPECT_FALSE(makeThumbnail(mediaFile("").c_str())) << "a folder with a trailing backslash";
}

TEST_F(ScreenshotTest, SoundOnlyFilesGetTheNotesPlaceholder) {
  std::string mp3Name, wavName;
  const Picture mp3 = thumbnailOf(mediaFile("tone.mp3"), &mp3Name);
  const Picture wav = thumbnailOf(mediaFile("tone.wav"), &wavName);
  EXPECT_EQ(mp3Name, "tone");
  EXPECT_EQ(wavName, "tone");
  EXPECT_EQ(mp3.width, 256);
  EXPECT_EQ(mp3.height, 144);
  EXPECT_LT(mp3.differenceFrom(wav), 1.0) << "the same placeholder";
  EXPECT_GT(mp3.meanBrightness(), 30.0) << "a light symbol on a dark tile";
  EXPECT_LT(mp3.meanBrightness(), 120.0);
}

// A copy of the first `bytes` bytes of a sample file.
std::string cutCopy(const TempFolder& folder, const std::string& sample, size_t bytes, const std::string& name) {
  const std::string whole = readWholeFile(mediaFile(sample));
  EXPECT_GT(whole.size(), bytes) << sample;
  const std::string path = folder.file(name);
  EXPECT_TRUE(writeWholeFile(path, whole.substr(0, bytes)));
  return path;
}

// Every broken file is answered, with a picture or the film placeholder,
// within a bound that no decoder stalling on it may stretch: the capture's own
// time limit and a generous margin for a busy machine.
TEST_F(ScreenshotTest, BrokenFilesAreAnsweredInBoundedTimeWithThePlaceholderOrAPicture) {
  constexpr std::chrono::seconds kBound{20};
  const Picture sound = thumbnailOf(mediaFile("tone.mp3"));
  TempFolder folder("screenshot");
  ASSERT_TRUE(writeWholeFile(folder.file("empty.mp4"), ""));
  ASSERT_TRUE(writeWholeFile(folder.file("text.avi"), "not a video at all\r\n"));
  ASSERT_TRUE(writeWholeFile(folder.file("zeros.mkv"), std::string(64 * 1024, '\0')));
  // Cut short, as a half-downloaded video is: a WMV, AVI or MP4 whose data
  // stops before its header says is refused up front (the platform's demuxer
  // can wait forever for the missing bytes; a WMV was seen to).
  const std::string wmvCut = cutCopy(folder, "clip.wmv", 3000, "cut.wmv");
  const std::string aviCut = cutCopy(folder, "clip_mjpeg.avi", 5000, "cut.avi");
  const std::string mp4Cut = cutCopy(folder, "clip_faststart.mp4", 6000, "cut.mp4");
  struct Case {
    std::string path;
    bool placeholder;  // whether only the placeholder can be the answer
  };
  // A truncated file opened right after a good one has been seen to stall
  // Wine's Media Foundation for good; the call must come back regardless.
  const Case cases[] = {{mediaFile("corrupt.mp4"), true},  {mediaFile("clip_testsrc.mp4"), false},
                        {mediaFile("truncated.mp4"), true}, {mediaFile("clip_short.mp4"), false},
                        {mediaFile("truncated.mp4"), true}, {folder.file("empty.mp4"), true},
                        {folder.file("text.avi"), true},    {folder.file("zeros.mkv"), true},
                        {wmvCut, true},                     {aviCut, true},
                        {mp4Cut, true}};
  for (const auto& [path, placeholder] : cases) {
    const std::optional<ScreenshotAnswer> answer = answerFor(path);
    ASSERT_TRUE(answer && answer->matched) << path;
    std::printf("[ time     ] %s: %lld ms\n", path.c_str(), static_cast<long long>(answer->took.count()));
    EXPECT_LT(answer->took, kBound) << path;
    const std::optional<Picture> picture = decodePictureFile(answer->image);
    ASSERT_TRUE(picture) << path;
    EXPECT_EQ(picture->width, 256) << path;
    if (!placeholder) continue;
    EXPECT_EQ(picture->height, 144) << path;
    EXPECT_GT(picture->differenceFrom(sound), 5.0) << path << ": film, not notes";
  }
}

TEST_F(ScreenshotTest, RelativePathIsTakenFromTheCurrentFolder) {
  char previous[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryA(mediaFile("").c_str()));
  const std::optional<ScreenshotAnswer> relative = answerFor("clip_testsrc.mp4");
  ::SetCurrentDirectoryA(previous);
  const std::optional<ScreenshotAnswer> absolute = answerFor(mediaFile("clip_testsrc.mp4"));
  ASSERT_TRUE(relative && absolute);
  EXPECT_EQ(relative->text, absolute->text);
}

}  // namespace
}  // namespace qova::test
