// Whether the desktop can be seen, judged from real windows of another
// program (Wine's Notepad): maximized it hides the desktop, restored to a
// part of the screen or minimized it does not, and the watch hears each
// change by itself within a second.
#include "desktop/DesktopCoverWatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "tests/support/OtherProgramWindow.h"
#include "tests/support/TestProcess.h"

namespace {

using namespace std::chrono_literals;
using qova::test::waitUntil;

qova::ScreenRect primaryMonitor() {
  return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

TEST(DesktopCoverWatch, AMaximizedWindowOfAnotherProgramHidesTheDesktopAndNothingLessDoes) {
  const qova::test::OtherProgramWindow other;
  HWND window = other.window();
  ASSERT_NE(window, nullptr) << "Notepad did not show";

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
