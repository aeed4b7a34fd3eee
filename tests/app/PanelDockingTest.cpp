// The panel (MainWindow) of a running qova.exe: where start-up docks it,
// whether it shows, how it keeps its place when moved or resized, where the
// settings view puts it (showing it when hidden), that its menu leaves the
// focus where it is, and the live preview's call to the compositor.
// (Docking beside a taskbar on each edge: PanelWorkAreaTest.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/WholeFile.h"
#include "tests/app/RunningProgram.h"
#include "tests/outside/exui/Input.h"
#include "tests/support/MenuCloser.h"
#include "tests/support/OtherProgramWindow.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

std::string windowText(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

struct DisplaySetting {
  const char* settings;  // the settings file; empty: there is none
  bool shown;
};

class PanelAtStartUp : public RunningProgram, public ::testing::WithParamInterface<DisplaySetting> {};

TEST_P(PanelAtStartUp, DocksBottomRightInTheWorkAreaAndShowsOnlyForZero) {
  start(GetParam().settings);
  const RECT rect = mainWindowRect();
  EXPECT_EQ(rect.left, dockedLeft()) << windowText(rect);
  EXPECT_EQ(rect.right, workArea().right) << windowText(rect);
  EXPECT_EQ(rect.bottom, workArea().bottom) << "its bottom edge on the work area's " << windowText(rect);
  EXPECT_EQ(rect.bottom - rect.top, 164) << windowText(rect);
  // Files dropped on the panel are added to the library.
  EXPECT_EQ(::GetWindowLongPtrA(mainWindow, GWL_EXSTYLE), WS_EX_NOACTIVATE | WS_EX_ACCEPTFILES);
  EXPECT_EQ(::IsWindowVisible(mainWindow) != FALSE, GetParam().shown);
  EXPECT_FALSE(popupVisible());

  // Whether the panel shows or not, the wallpaper plays: the player was born
  // in the worker, then the first entry was opened.
  HWND player = program.engineWindow();
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(::GetParent(player), shell.worker()) << shell.logText();
  std::vector<std::string> order;
  for (const std::string& call : program.engineCalls())
    for (const char* name : {"APlayer_Create(", "APlayer_SetVolume(", "APlayer_OpenA("})
      if (call.rfind(name, 0) == 0) order.push_back(name);
  EXPECT_EQ(order, (std::vector<std::string>{"APlayer_Create(", "APlayer_SetVolume(", "APlayer_OpenA("}));
  EXPECT_TRUE(program.process().running());
}

INSTANTIATE_TEST_SUITE_P(DisplaySettings, PanelAtStartUp,
                         ::testing::Values(DisplaySetting{"", true},
                                           DisplaySetting{"[程序设置]\r\n播放音量=50\r\n", true},
                                           DisplaySetting{"[程序设置]\r\n窗体显示=0\r\n", true},
                                           DisplaySetting{"[程序设置]\r\n窗体显示=1\r\n", false},
                                           DisplaySetting{"[程序设置]\r\n窗体显示=00\r\n", false}));

class Panel : public RunningProgram {
 protected:
  // Moves or sizes the panel from outside, as dragging its frame would.
  void place(int left, int top, int width, int height) const {
    ::SetWindowPos(mainWindow, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  bool rectIs(LONG left, LONG top, LONG width, LONG height) const {
    const RECT r = mainWindowRect();
    return r.left == left && r.top == top && r.right - r.left == width && r.bottom - r.top == height;
  }
  // "窗体显示" as the program's settings file holds it; "absent" when it does not.
  std::string readSetting() const {
    char value[64] = {};
    ::GetPrivateProfileStringA("程序设置", "窗体显示", "absent", value, sizeof value,
                               program.file("To_configure.ini").c_str());
    return value;
  }
};

TEST_F(Panel, ARightClickOnThePreviewLeavesTheFocusWithTheApplicationInFrontAndAClickElsewhereClosesTheMenu) {
  start();
  const OtherProgramWindow other;  // at 100, 100, 400 x 300
  ASSERT_NE(other.window(), nullptr);
  ::SetForegroundWindow(other.window());
  ASSERT_TRUE(waitUntil([&] { return ::GetForegroundWindow() == other.window(); }, 10s));
  const DWORD id = program.process().id();
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 300, 50);  // the menu shows there, away from the other window
  popUpMenu(ProgramMenu::MainWindowStandard);
  HWND menu = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (menu = visibleMenuOf(id)) != nullptr; }, 10s)) << "no menu showed";
  roundTrip();
  EXPECT_EQ(::GetForegroundWindow(), other.window()) << "the menu took the focus";

  realClick(300, 250);
  const bool closed = waitUntil([&] { return visibleMenuOf(id) == nullptr; }, 10s);
  if (!closed) pressMenuKeys(menu, {VK_ESCAPE});
  EXPECT_TRUE(closed) << "a click on another window left the menu open";
  roundTrip();
  EXPECT_EQ(::GetForegroundWindow(), other.window());
  GUITHREADINFO focus{};
  focus.cbSize = sizeof focus;
  ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(other.window(), nullptr), &focus));
  EXPECT_EQ(focus.hwndActive, other.window());
  EXPECT_NE(focus.hwndFocus, nullptr) << "the application in front keeps the keyboard focus";
  EXPECT_TRUE(program.process().running());
}

TEST_F(Panel, DraggedOrWidenedItSnapsBackToItsLeftEdgeAndWidthButMayMoveVertically) {
  start();
  const int left = dockedLeft();
  const int top = dockedTop();
  for (int step = 1; step <= 3; ++step) {
    SCOPED_TRACE(step);
    place(left - 150 * step, top - 40 * step, 216, 164);
    EXPECT_TRUE(waitUntil([&] { return rectIs(left, top - 40 * step, 216, 164); }, 10s))
        << windowText(mainWindowRect());
  }
  place(left - 30, top, 400, 164);
  EXPECT_TRUE(waitUntil([&] { return rectIs(left, top, 216, 164); }, 10s)) << windowText(mainWindowRect());
  place(0, 0, 100, 300);
  EXPECT_TRUE(waitUntil([&] { return rectIs(left, 0, 216, 300); }, 10s)) << windowText(mainWindowRect());
}

TEST_F(Panel, ShrunkBelowItsCollapsedHeightItReturnsTo164AtTheDockedTop) {
  start();
  place(dockedLeft(), dockedTop() - 200, 216, 300);
  ASSERT_TRUE(waitUntil([&] { return rectIs(dockedLeft(), dockedTop() - 200, 216, 300); }, 10s));
  place(dockedLeft(), dockedTop() - 200, 216, 100);
  EXPECT_TRUE(waitUntil([&] { return rectIs(dockedLeft(), dockedTop(), 216, 164); }, 10s))
      << windowText(mainWindowRect());
  // Exactly 164 is left alone.
  place(dockedLeft(), 50, 216, 164);
  EXPECT_TRUE(waitUntil([&] { return rectIs(dockedLeft(), 50, 216, 164); }, 10s)) << windowText(mainWindowRect());
}

std::string menuParameterName(const ::testing::TestParamInfo<ProgramMenu>& parameter) {
  return menuName(parameter.param);
}

class OpenSettings : public Panel, public ::testing::WithParamInterface<ProgramMenu> {};

TEST_P(OpenSettings, ShowsTheHiddenPanelExpandedTo387InTheWorkAreasCorner) {
  start("[程序设置]\r\n窗体显示=1\r\n");
  ASSERT_FALSE(::IsWindowVisible(mainWindow));
  {
    MenuCloser menus(program.process().id(), kChooseOpenSettings);
    popUpMenu(GetParam());
    EXPECT_TRUE(waitUntil([&] { return ::IsWindowVisible(mainWindow) != FALSE; }, 15s))
        << windowText(mainWindowRect()) << ", menus shown: " << menus.menusShown();
    EXPECT_EQ(menus.menusShown(), 1);
  }
  const RECT rect = mainWindowRect();
  EXPECT_EQ(rect.bottom, workArea().bottom) << windowText(rect);
  EXPECT_EQ(rect.bottom - rect.top, 387) << windowText(rect);
  EXPECT_EQ(rect.left, dockedLeft());
  EXPECT_EQ(rect.right - rect.left, 216);
  EXPECT_EQ(readSetting(), "1") << "shown for its settings, still hidden at the next start";
  EXPECT_TRUE(program.process().running());
}

INSTANTIATE_TEST_SUITE_P(EachMenu, OpenSettings,
                         ::testing::Values(ProgramMenu::PopupWindowStandard, ProgramMenu::MainWindowStandard,
                                           ProgramMenu::Skinned),
                         menuParameterName);

// Wine's compositor has no thumbnails; a stand-in dwmapi.dll in the program's
// folder records what the program asks of it.
class PanelPreview : public RunningProgram {
 protected:
  void SetUp() override {
    RunningProgram::SetUp();
    ASSERT_TRUE(program.copyFromBuild("dwm\\dwmapi.dll", "dwmapi.dll"));
    char overrides[512] = {};
    ::GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    savedOverrides = overrides;
    const std::string ours = "dwmapi=n,b" + (savedOverrides.empty() ? "" : ";" + savedOverrides);
    ::SetEnvironmentVariableA("WINEDLLOVERRIDES", ours.c_str());
  }
  void TearDown() override {
    ::SetEnvironmentVariableA("WINEDLLOVERRIDES", savedOverrides.empty() ? nullptr : savedOverrides.c_str());
  }
  std::string savedOverrides;
};

TEST_F(PanelPreview, StartUpShowsTheShellsDesktopWindowInThePreviewBox) {
  start();
  const std::string calls = readWholeFile(program.file("dwm_calls.log"));
  // flags 0x0D; destination 4,4,212,124; no source rectangle; opacity 255 and
  // three bytes of alignment; visible; the whole window.
  EXPECT_EQ(calls, "DwmRegisterThumbnail(" + ShellStandin::hex(mainWindow) + "," +
                       ShellStandin::hex(shell.progman()) + ")\n"
                       "DwmUpdateThumbnailProperties(20816,"
                       "0d000000" "04000000" "04000000" "d4000000" "7c000000"
                       "00000000" "00000000" "00000000" "00000000"
                       "ff000000" "01000000" "00000000)\n");
}

TEST_F(PanelPreview, AfterAShellRestartThePreviewShowsTheNewDesktopWindow) {
  start();
  ASSERT_TRUE(shell.restart()) << shell.logText();
  const std::string registered =
      "DwmRegisterThumbnail(" + ShellStandin::hex(mainWindow) + "," + ShellStandin::hex(shell.progman()) + ")";
  EXPECT_TRUE(waitUntil([&] { return readWholeFile(program.file("dwm_calls.log")).find(registered) != std::string::npos; },
                        10s))
      << readWholeFile(program.file("dwm_calls.log")) << readWholeFile(program.file("aplayer_calls.log")) << shell.logText();
}

}  // namespace
}  // namespace qova::test
