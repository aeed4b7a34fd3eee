#pragma once
// qova.exe started from a program folder of its own with three library
// entries, beside the desktop-shell stand-in and the recording engine, and
// driven from outside the way the shell and the user reach it: the
// notification-area callback, mouse messages on its components, menus
// answered with keys, hotkey messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/ProgramFolder.h"
#include "tests/support/ShellStandin.h"

namespace qova::test {

constexpr UINT kTrayCallbackMessage = 11685;

// The three menus that carry "打开设置", "添加视频" and "退出应用", in that order
// ("添加文件夹" after "添加视频" in each, and "删除失效的视频" after it in the skinned one).
enum class ProgramMenu {
  PopupWindowStandard,  // the notification icon's right click
  MainWindowStandard,   // a right click on the preview box
  Skinned,              // a right click on empty space of the library list
};
const char* menuName(ProgramMenu menu);

// Keys that choose the menu's first item, and "退出应用".
inline const std::vector<WPARAM> kChooseOpenSettings{VK_DOWN, VK_RETURN};
inline std::vector<WPARAM> keysChoosingExit(ProgramMenu) {
  // "退出应用" is the fifth item of the standard menu and of the skinned one alike.
  return {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
}

class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override;  // the stand-in ready, three entries whose videos exist

  // Writes the settings file when `settings` is not empty, starts the program
  // and waits until its start-up sequence has run to its end.
  void start(const std::string& settings = {});

  // Waits until the program's window thread has handled a message sent now (which comes before
  // the messages posted to it and still waiting).
  void roundTrip() const;
  // Posts the shell's notification for the icon with this event code (a mouse message).
  void postTrayEvent(LPARAM code) const;
  // Makes the menu appear; it is modal, so answer it from a MenuCloser.
  void popUpMenu(ProgramMenu menu) const;

  RECT mainWindowRect() const;
  bool popupVisible() const { return ::IsWindowVisible(popupWindow) != FALSE; }
  // The engine calls from line `from` on.
  std::vector<std::string> engineCallsSince(size_t from) const;

  // The docked place, worked out from the work area as reported here (under
  // Wine each process has its own; neither the program nor the test changes it).
  static RECT workArea();
  static int dockedLeft() { return workArea().right - 216; }
  static int dockedTop() { return workArea().bottom - 164; }

  ShellStandin shell;
  ProgramFolder program;
  std::vector<std::string> videos;
  HWND mainWindow = nullptr;
  HWND popupWindow = nullptr;
};

}  // namespace qova::test
