// Whether the desktop can be seen, judged from real windows of another
// program (Wine's Notepad): maximized it hides the desktop, restored to a
// part of the screen or minimized it does not, and the watch hears each
// change by itself within a second.
#include "desktop/DesktopCoverWatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace {

using namespace std::chrono_literals;
using qova::test::waitUntil;

qova::ScreenRect primaryMonitor() {
  return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

TEST(DesktopCoverWatch, AMaximizedWindowOfAnotherProgramHidesTheDesktopAndNothingLessDoes) {
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  qova::test::TestProcess notepad(std::string(windows) + "\\notepad.exe", "");
  ASSERT_TRUE(notepad.started());
  HWND window = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (window = qova::test::findProcessWindow(notepad.id(), "Notepad")) != nullptr; },
                        20s));
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  ::MoveWindow(window, 100, 100, 400, 300, TRUE);

  std::vector<bool> heard;
  qova::DesktopCoverWatch watch(primaryMonitor(), [&](bool hidden) { heard.push_back(hidden); });
  ASSERT_TRUE(waitUntil([&] { return !heard.empty(); }, 2s)) << "the watch reports once it starts";
  EXPECT_FALSE(heard.back()) << "a window over part of the screen";

  const auto changedWithin = [&](bool hidden) {
    return waitUntil([&] { return !heard.empty() && heard.back() == hidden; }, 1s);
  };
  ::ShowWindow(window, SW_MAXIMIZE);
  EXPECT_TRUE(changedWithin(true)) << "maximized, it hides the desktop";
  ::ShowWindow(window, SW_SHOWMINNOACTIVE);
  EXPECT_TRUE(changedWithin(false)) << "minimized, it hides nothing";
  ::ShowWindow(window, SW_MAXIMIZE);
  EXPECT_TRUE(changedWithin(true));
  ::ShowWindow(window, SW_RESTORE);
  EXPECT_TRUE(changedWithin(false)) << "restored to part of the screen";
  EXPECT_FALSE(qova::desktopHidden(primaryMonitor()));
  // Each change was heard once.
  EXPECT_EQ(heard, (std::vector<bool>{false, true, false, true, false}));
}

}  // namespace
