// qova.exe from folders of its own: the component library is looked for in
// the program's folder only, a missing one stops the program with the
// run-time error, and start-up builds both windows from their layouts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "runtime/WholeFile.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

// A file at a drive's root that any user may create, naming a copy of the library.
class PlantedIni {
 public:
  explicit PlantedIni(const std::string& libraryPath) {
    writeWholeFile(kPath, libraryPath);
  }
  ~PlantedIni() { ::DeleteFileA(kPath); }
  PlantedIni(const PlantedIni&) = delete;
  PlantedIni& operator=(const PlantedIni&) = delete;

 private:
  static constexpr const char* kPath = "C:\\ExuiKrnln.ini";
};

TEST(ComponentLibrary, AMissingLibraryStopsTheProgramWithTheRunTimeError) {
  ProgramFolder program;
  // Elsewhere, and named by a file at the drive's root: neither place counts.
  TempFolder elsewhere("qova_elsewhere");
  ASSERT_TRUE(::MoveFileA(program.file("ExuiKrnln.dll").c_str(), elsewhere.file("ExuiKrnln.dll").c_str()));
  PlantedIni planted(elsewhere.file("ExuiKrnln.dll"));

  ASSERT_TRUE(program.start().started());
  HWND box = nullptr;
  const std::string text = waitForMessageBoxText(program.process().id(), &box);
  ASSERT_NE(box, nullptr) << "no message box appeared";
  EXPECT_EQ(text.rfind("运行时出错!", 0), 0u) << text;
  EXPECT_NE(text.find("错误信息：无法找到指定DLL库文件“ExuiKrnln.dll”中的输出命令“CallInternalFunction_Ex”"),
            std::string::npos)
      << text;
  EXPECT_EQ(findProcessWindow(program.process().id(), "QovaMainWindow"), nullptr) << "stopped before any window";
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  const auto exitCode = program.process().waitForExit(20s);
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, static_cast<DWORD>(-1));
}

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(shell.ready());
    const std::string video = program.makeVideoFile("视频.mp4");
    program.writeLibrary({{video, "", "视频"}});
  }

  // Waits for the program's window of that class; null when it does not come.
  HWND waitForWindow(const std::string& className) {
    HWND window = nullptr;
    waitUntil([&] { return (window = findProcessWindow(program.process().id(), className)) != nullptr; }, 20s);
    return window;
  }

  static std::vector<std::string> childClasses(HWND window) {
    std::vector<std::string> classes;
    for (HWND child : childWindows(window)) classes.push_back(classNameOf(child));
    return classes;
  }

  ShellStandin shell;
  ProgramFolder program;
};

TEST_F(StartUp, BuildsMainWindowAndAHiddenPopupWindowFromTheirLayouts) {
  ASSERT_TRUE(program.start().started());
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(")) << "start-up did not reach the player";
  HWND mainWindow = waitForWindow("QovaMainWindow");
  HWND popupWindow = waitForWindow("QovaPopupWindow");
  ASSERT_NE(mainWindow, nullptr);
  ASSERT_NE(popupWindow, nullptr);

  // Top-level components in tree order (the child list is in Z order, first created on top).
  std::vector<std::string> classes = childClasses(mainWindow);
  std::sort(classes.begin(), classes.end());
  EXPECT_EQ(classes, (std::vector<std::string>{"ButtonEx", "ButtonEx", "ButtonEx", "MinutesboxEx", "WindowEx",
                                               "WindowEx"}));
  // Shown once the wallpaper has started, which may be after the first open was seen.
  EXPECT_TRUE(waitUntil([&] { return ::IsWindowVisible(mainWindow) != FALSE; }, 20s)) << "窗体显示 absent: shown";

  EXPECT_FALSE(::IsWindowVisible(popupWindow));
  EXPECT_EQ(::GetParent(popupWindow), nullptr);
  HWND list = ::FindWindowExA(popupWindow, nullptr, "IcoListboxEx", nullptr);
  ASSERT_NE(list, nullptr);
  RECT rect{};
  ::GetWindowRect(list, &rect);
  EXPECT_EQ(rect.right - rect.left, 928) << "sized to the window once built";
  EXPECT_EQ(rect.bottom - rect.top, 520);
}

TEST_F(StartUp, TheLibraryMayLiveInLibExuiKrnlnBelowTheProgram) {
  ::CreateDirectoryA(program.file("lib").c_str(), nullptr);
  ::CreateDirectoryA(program.file("lib\\ExuiKrnln").c_str(), nullptr);
  ASSERT_TRUE(::MoveFileA(program.file("ExuiKrnln.dll").c_str(), program.file("lib\\ExuiKrnln\\ExuiKrnln.dll").c_str()));
  ASSERT_TRUE(program.start().started());
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(")) << "start-up did not reach the player";
  HWND mainWindow = waitForWindow("QovaMainWindow");
  ASSERT_NE(mainWindow, nullptr);
  EXPECT_NE(::FindWindowExA(mainWindow, nullptr, "MinutesboxEx", nullptr), nullptr);
}

}  // namespace
}  // namespace qova::test
