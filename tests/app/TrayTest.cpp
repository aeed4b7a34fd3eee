// The notification-area icon of a running qova.exe: the shell's callback
// message reaches the program's tray handler, which acts on a left-button
// release (show or hide the library window) and a right-button release (its
// standard menu) only; when the taskbar is made again the icon comes back.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "tests/app/RunningProgram.h"
#include "tests/support/MenuCloser.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

class Tray : public RunningProgram {};

TEST_F(Tray, LeftButtonReleaseShowsThenHidesTheLibraryWindow) {
  start();
  ASSERT_FALSE(popupVisible());
  postTrayEvent(WM_LBUTTONUP);
  EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 10s)) << "the first release shows it";
  postTrayEvent(WM_LBUTTONUP);
  EXPECT_TRUE(waitUntil([&] { return !popupVisible(); }, 10s)) << "the second release hides it";
  EXPECT_TRUE(::IsWindow(popupWindow)) << "hidden, not destroyed";
}

TEST_F(Tray, RightButtonReleaseOpensTheStandardMenu) {
  start();
  const DWORD id = program.process().id();
  postTrayEvent(WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (menu = visibleMenuOf(id)) != nullptr; }, 10s)) << "no menu showed";
  EXPECT_EQ(classNameOf(menu), "#32768") << "the window's standard menu, not a skinned one";
  pressMenuKeys(menu, {VK_ESCAPE});
  EXPECT_TRUE(waitUntil([&] { return visibleMenuOf(id) == nullptr; }, 10s));
  roundTrip();
  EXPECT_FALSE(popupVisible());
  EXPECT_TRUE(program.process().running());
}

TEST_F(Tray, EveryOtherCodeChangesNothing) {
  start();
  const DWORD id = program.process().id();
  const RECT mainBefore = mainWindowRect();
  // Questions about the engine's configuration (which presentation path the
  // playing file took) are no change of playback.
  const auto playbackCalls = [&] {
    size_t count = 0;
    for (const std::string& call : program.engineCalls()) count += call.rfind("APlayer_GetConfigA(", 0) != 0;
    return count;
  };
  const size_t callsBefore = playbackCalls();
  {
    MenuCloser menus(id);
    for (LPARAM code : std::vector<LPARAM>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                                           WM_MBUTTONUP, 1120, 1130, 0})
      postTrayEvent(code);
    // A release after them shows the popup once they have all been handled (a message sent to
    // the window would be handled before them).
    postTrayEvent(WM_LBUTTONUP);
    EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 10s)) << "the release after them did not show the popup";
    EXPECT_EQ(menus.menusShown(), 0);
  }
  postTrayEvent(WM_LBUTTONUP);
  EXPECT_TRUE(waitUntil([&] { return !popupVisible(); }, 10s));
  const RECT mainAfter = mainWindowRect();
  EXPECT_TRUE(::EqualRect(&mainBefore, &mainAfter));
  EXPECT_TRUE(::IsWindowVisible(mainWindow));
  EXPECT_EQ(playbackCalls(), callsBefore) << "playback untouched";
  EXPECT_TRUE(program.process().running());

  // The handler still answers afterwards.
  postTrayEvent(WM_LBUTTONUP);
  EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 10s));
}

// Whether the shell holds the program's icon: it accepts a change to it.
bool shellHasIcon(HWND owner) {
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
  icon.hWnd = owner;
  icon.uID = 1;
  return ::Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

TEST_F(Tray, WhenTheTaskbarIsMadeAgainTheIconComesBackAndAnswersClicks) {
  start();
  ASSERT_TRUE(shellHasIcon(popupWindow));
  // A shell that ends takes the icons with it; the new one knows none.
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
  icon.hWnd = popupWindow;
  icon.uID = 1;
  ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &icon));
  ASSERT_FALSE(shellHasIcon(popupWindow));

  const auto announced = std::chrono::steady_clock::now();
  ::PostMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_TRUE(waitUntil([&] { return shellHasIcon(popupWindow); }, 10s)) << "the icon stayed gone";
  const auto back = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - announced);
  RecordProperty("icon_back_ms", static_cast<int>(back.count()));
  std::printf("the icon was back %lld ms after the announcement\n", static_cast<long long>(back.count()));

  // Wine's notification area shows each icon as a window of its own; a click
  // there reaches the program through the icon's callback message.
  HWND shown = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (shown = ::FindWindowA("__winex11_standalone_tray", nullptr)) != nullptr; }, 10s));
  HWND iconWindow = ::FindWindowExA(shown, nullptr, "__winex11_tray_icon", nullptr);
  ASSERT_NE(iconWindow, nullptr);
  ::PostMessageA(iconWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageA(iconWindow, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 10s)) << "the click did not reach the program";
  EXPECT_TRUE(program.process().running());
}

}  // namespace
}  // namespace qova::test
