// qova.exe with an empty library: it asks for a first video, and ends
// quietly, leaving the desktop as it was, when none is given.
#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/WholeFile.h"
#include "tests/shell/DialogDriver.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/WindowSearch.h"

namespace {

using namespace std::chrono_literals;
using qova::test::ProgramFolder;
using qova::test::ShellStandin;

class FirstRun : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(shell.ready()); }

  // Starts the program and answers its open-file dialog with `path` (cancels when empty).
  void startAndAnswer(const std::string& path) {
    ASSERT_TRUE(program.start().started());
    HWND dialog = program.waitForDialog();
    ASSERT_NE(dialog, nullptr) << "the program did not ask for a video";
    char title[128] = {};
    ::GetWindowTextA(dialog, title, sizeof title);
    EXPECT_STREQ(title, "添加视频文件:");
    if (path.empty()) {
      qova::test::pressButton(dialog, IDCANCEL);
    } else {
      qova::test::typeFileName(dialog, path);
      qova::test::pressButton(dialog, IDOK);
    }
  }

  // The stand-in logs every window of another process that becomes a child of
  // its windows and that stops being one, whether or not a worker was made.
  void expectDesktopAsItWas() {
    ASSERT_TRUE(shell.ready());
    EXPECT_TRUE(qova::test::waitUntil(
        [&] { return shell.countLogLines("child-destroyed ") == shell.countLogLines("child-created "); }, 10s))
        << "a window was left in the desktop:\n" << shell.logText();
    HWND worker = shell.worker();
    EXPECT_TRUE(worker == nullptr || ::IsWindowVisible(worker)) << "the desktop's worker was left hidden";
  }

  ShellStandin shell;
  ProgramFolder program;
};

TEST_F(FirstRun, CancellingEndsWithExitCodeZeroAndLeavesEverythingAsItWas) {
  program.writeLibrary({{program.file("gone.mp4"), "", "a record of a missing video"}});
  const std::string before = qova::readWholeFile(program.file("spconfiguration_file.ini"));
  startAndAnswer("");
  auto exitCode = program.process().waitForExit(30s);
  ASSERT_TRUE(exitCode.has_value()) << "the program kept running";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_EQ(qova::readWholeFile(program.file("spconfiguration_file.ini")), before);
  expectDesktopAsItWas();
  for (const std::string& call : program.engineCalls())
    EXPECT_NE(call.rfind("APlayer_OpenA(", 0), 0u) << "nothing may be opened: " << call;
}

TEST_F(FirstRun, AChosenVideoIsAddedAndPlays) {
  ASSERT_TRUE(program.copyFromBuild("screenshot.dll"));
  const std::string clip = program.file("first.mp4");
  ASSERT_TRUE(program.copyFromBuild("media\\clip_testsrc.mp4", "first.mp4"));
  startAndAnswer(clip);
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(1," + clip + ")", 0, 30s))
      << "the added video did not play";
  const std::string library = qova::readWholeFile(program.file("spconfiguration_file.ini"));
  EXPECT_NE(library.find("视频名称<first>\r\n"), std::string::npos) << library;
  EXPECT_NE(library.find("\\thumbs\\first_"), std::string::npos) << library;
}

TEST_F(FirstRun, AMissingFrameCaptureLibraryIsTheRunTimeError) {
  const std::string clip = program.makeVideoFile("v.mp4");
  startAndAnswer(clip);
  HWND box = nullptr;
  std::string text;
  qova::test::waitUntil(
      [&] {
        box = program.waitForDialog(100ms);
        text = box ? qova::test::messageBoxText(box) : "";
        return !text.empty();
      },
      20s);
  EXPECT_NE(text.find("运行时出错!"), std::string::npos) << text;
  EXPECT_NE(text.find("无法找到指定DLL库文件“screenshot.dll”中的输出命令“视频截图”"), std::string::npos)
      << text;
  if (box) qova::test::pressButton(box, IDOK);
  auto exitCode = program.process().waitForExit(20s);
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, static_cast<DWORD>(-1));
}

}  // namespace
