// The first start, with no library yet: the program asks for a video. The
// user cancels (it ends and leaves the desktop as it was) or picks one (its
// record and thumbnail are written and it plays).
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>

#include "runtime/WholeFile.h"
#include "tests/acceptance/ScreenWatch.h"
#include "tests/acceptance/WallpaperProgram.h"
#include "tests/shell/DialogDriver.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/WindowSearch.h"

namespace {

using namespace std::chrono_literals;
using qova::test::WallpaperProgram;

// Starts the program, waits for its open-file dialog and answers it with `path` (cancels when empty).
void startAndAnswer(WallpaperProgram& program, const std::string& path) {
  ASSERT_TRUE(program.folder().start().started());
  HWND dialog = program.folder().waitForDialog(30s);
  ASSERT_NE(dialog, nullptr) << "the program did not ask for a video";
  EXPECT_EQ(qova::test::titleOf(dialog), "添加视频文件:");
  if (path.empty()) {
    qova::test::pressButton(dialog, IDCANCEL);
  } else {
    ASSERT_TRUE(qova::test::typeFileName(dialog, path));
    qova::test::pressButton(dialog, IDOK);
  }
}

TEST(FirstRunJourney, CancellingTheFirstAddEndsAndLeavesTheDesktopAsItWas) {
  qova::test::ShellStandin shell;
  ASSERT_TRUE(shell.ready());
  WallpaperProgram program;
  startAndAnswer(program, "");
  auto exitCode = program.waitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "the program kept running";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_EQ(::GetFileAttributesA(program.folder().file("spconfiguration_file.ini").c_str()), INVALID_FILE_ATTRIBUTES)
      << "a library file was written: " << program.libraryText();
  if (HWND worker = shell.worker()) {
    EXPECT_TRUE(qova::test::childWindows(worker).empty()) << "a player window was left in the desktop layer";
    EXPECT_TRUE(::IsWindowVisible(worker));
  }
}

TEST(FirstRunJourney, AChosenFirstVideoIsRecordedWithItsThumbnailAndPlays) {
  WallpaperProgram program;
  ASSERT_TRUE(program.folder().copyFromBuild(std::string("media\\") + qova::test::kRedClip, "第一段.mp4"));
  const std::string clip = program.folder().file("第一段.mp4");
  startAndAnswer(program, clip);
  EXPECT_TRUE(qova::test::waitForPicture(qova::test::Picture::Red, 30s)) << "the chosen video does not play";

  const std::string library = program.libraryText();
  std::smatch record;
  ASSERT_TRUE(std::regex_match(library, record, std::regex("视频文件<(.*)>视频图片<(.*)>视频名称<(.*)>\r\n")))
      << library;
  EXPECT_EQ(record[1].str(), clip);
  EXPECT_EQ(record[3].str(), "第一段");
  const std::string thumbnail = qova::readWholeFile(record[2].str());
  ASSERT_GE(thumbnail.size(), 3u) << "no thumbnail at " << record[2].str();
  EXPECT_EQ(thumbnail.substr(0, 3), "\xFF\xD8\xFF") << "the thumbnail is not a JPEG picture";

  ASSERT_TRUE(program.chooseFromTrayMenu(qova::test::MenuItem::Exit));
  auto exitCode = program.waitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "the program kept running";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
