// Every way out of a running qova.exe: "退出应用" in the standard menus of
// both windows and in the skinned menu, and Ctrl+Alt+End. Each takes the
// player out of the desktop layer, has the shell repaint the static
// wallpaper and ends the process with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <variant>

#include "tests/app/RunningProgram.h"
#include "tests/outside/exui/Input.h"
#include "tests/support/MenuCloser.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

struct ExitHotkey {};
using ExitPath = std::variant<ProgramMenu, ExitHotkey>;

std::string pathName(const ExitPath& path) {
  if (const auto* menu = std::get_if<ProgramMenu>(&path)) return menuName(*menu);
  return "CtrlAltEnd";
}

std::string exitPathName(const ::testing::TestParamInfo<ExitPath>& parameter) { return pathName(parameter.param); }

class ExitPaths : public RunningProgram, public ::testing::WithParamInterface<ExitPath> {
 protected:
  void leave(const ExitPath& path) {
    if (const auto* menu = std::get_if<ProgramMenu>(&path)) {
      MenuCloser menus(program.process().id(), keysChoosingExit(*menu));
      popUpMenu(*menu);
      exitCode = program.process().waitForExit(30s);
      menusShown = menus.menusShown();
    } else {
      // Typed on the keyboard: the system delivers it as WM_HOTKEY to the
      // window that registered it, whichever window has the focus.
      realChord({VK_CONTROL, VK_MENU}, VK_END);
      exitCode = program.process().waitForExit(30s);
    }
  }
  std::optional<DWORD> exitCode;
  int menusShown = 0;
};

TEST_P(ExitPaths, RemoveThePlayerRestoreTheStaticDesktopAndEndWithCodeZero) {
  start();
  HWND worker = shell.worker();
  ASSERT_NE(worker, nullptr);
  ASSERT_EQ(::GetParent(program.engineWindow()), worker);
  const size_t shellMark = shell.logLineCount();
  const size_t engineMark = program.engineCalls().size();

  leave(GetParam());
  ASSERT_TRUE(exitCode.has_value()) << "the program kept running; menus shown: " << menusShown;
  EXPECT_EQ(*exitCode, 0u);

  const std::vector<std::string> calls = engineCallsSince(engineMark);
  EXPECT_NE(std::find(calls.begin(), calls.end(), "APlayer_Destroy(1)"), calls.end())
      << "the player was not destroyed";
  const std::vector<std::string> lines = shell.logSince(shellMark);
  const auto hidden = std::find(lines.begin(), lines.end(), "show " + ShellStandin::hex(worker) + " 0");
  const auto shown = std::find(lines.begin(), lines.end(), "show " + ShellStandin::hex(worker) + " 1");
  EXPECT_TRUE(hidden != lines.end() && shown != lines.end() && hidden < shown)
      << "the worker was not hidden and shown again:\n" << shell.logText();
  EXPECT_TRUE(::IsWindow(worker)) << "the shell's layer stays";
  EXPECT_TRUE(::IsWindowVisible(worker));
}

INSTANTIATE_TEST_SUITE_P(All, ExitPaths,
                         ::testing::Values(ExitPath{ProgramMenu::PopupWindowStandard},
                                           ExitPath{ProgramMenu::MainWindowStandard},
                                           ExitPath{ProgramMenu::Skinned}, ExitPath{ExitHotkey{}}),
                         exitPathName);

}  // namespace
}  // namespace qova::test
