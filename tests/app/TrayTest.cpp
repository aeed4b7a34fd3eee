// The notification-area icon of a running qova.exe: the shell's callback
// message reaches the program's tray handler, which acts on a left-button
// release (show or hide the library window) and a right-button release (its
// standard menu) only.
#include <gtest/gtest.h>
#include <windows.h>

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

TEST_F(Tray, EveryOtherCodeAndTheTaskbarsReturnChangeNothing) {
  start();
  const DWORD id = program.process().id();
  const RECT mainBefore = mainWindowRect();
  const size_t callsBefore = program.engineCalls().size();
  {
    MenuCloser menus(id);
    for (LPARAM code : std::vector<LPARAM>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                                           WM_MBUTTONUP, 1120, 1130, 0})
      postTrayEvent(code);
    // The shell's announcement that the taskbar was made again reaches the handler as 1120.
    ::PostMessageA(popupWindow, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    roundTrip();
    pumpMessagesFor(300ms);
    roundTrip();
    EXPECT_EQ(menus.menusShown(), 0);
  }
  EXPECT_FALSE(popupVisible());
  const RECT mainAfter = mainWindowRect();
  EXPECT_TRUE(::EqualRect(&mainBefore, &mainAfter));
  EXPECT_TRUE(::IsWindowVisible(mainWindow));
  EXPECT_EQ(program.engineCalls().size(), callsBefore) << "playback untouched";
  EXPECT_TRUE(program.process().running());

  // The handler still answers afterwards.
  postTrayEvent(WM_LBUTTONUP);
  EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 10s));
}

}  // namespace
}  // namespace qova::test
