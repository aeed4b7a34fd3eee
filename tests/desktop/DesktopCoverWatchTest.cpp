// Whether the desktop can be seen, judged from real windows of another
// program (Wine's Notepad): maximized it hides the desktop, restored to a
// part of the screen or minimized it does not, and the watch hears each
// change by itself (how soon is a figure, the test's property "heard_ms"). Each monitor is judged on its own: the
// window hides nothing of a monitor beside the primary. The shell's own
// desktop windows (the stand-in's, screen-sized) hide nothing, also when the
// shell is replaced by a new one between two looks, and a cover closed while
// it hides the desktop leaves it seen.
#include "desktop/DesktopCoverWatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/OtherProgramWindow.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/TestProcess.h"

namespace {

using namespace std::chrono_literals;
using qova::test::waitUntil;

// Waits for the watch's last report to be `hidden`, and keeps how long each
// wait took as the test's property "heard_ms": a figure, not a condition.
class HeardTimes {
 public:
  bool waitFor(const std::vector<bool>& heard, bool hidden) {
    const auto start = std::chrono::steady_clock::now();
    const bool changed = waitUntil([&] { return !heard.empty() && heard.back() == hidden; }, 15s);
    milliseconds_ += std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - start).count()) + " ";
    ::testing::Test::RecordProperty("heard_ms", milliseconds_);
    return changed;
  }

 private:
  std::string milliseconds_;
};

qova::ScreenRect primaryMonitor() {
  return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

TEST(DesktopCoverWatch, AMaximizedWindowOfAnotherProgramHidesTheDesktopAndNothingLessDoes) {
  const qova::test::OtherProgramWindow other;
  HWND window = other.window();
  ASSERT_NE(window, nullptr) << "Notepad did not show";

  const qova::ScreenRect primary = primaryMonitor();
  const qova::ScreenRect beside{primary.right, 0, primary.right + 800, 600};
  std::vector<bool> heard;
  bool besideHidden = false;
  qova::DesktopCoverWatch watch({primary, beside}, [&](const std::vector<bool>& hidden) {
    heard.push_back(hidden.at(0));
    besideHidden = besideHidden || hidden.at(1);
  });
  ASSERT_TRUE(waitUntil([&] { return !heard.empty(); }, 15s)) << "the watch reports once it starts";
  EXPECT_FALSE(heard.back()) << "a window over part of the screen";

  HeardTimes times;
  const auto changedWithin = [&](bool hidden) { return times.waitFor(heard, hidden); };
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
  EXPECT_FALSE(besideHidden) << "the window covered the monitor beside the primary";
}

TEST(DesktopCoverWatch, TheShellsDesktopWindowsHideNothingAndAClosedCoverLeavesTheDesktopSeen) {
  qova::test::ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  ASSERT_NE(shell.requestWorker(), nullptr) << shell.logText();
  const qova::test::OtherProgramWindow other;
  HWND window = other.window();
  ASSERT_NE(window, nullptr) << "Notepad did not show";

  std::vector<bool> heard;
  qova::DesktopCoverWatch watch({primaryMonitor()}, [&](const std::vector<bool>& hidden) {
    heard.push_back(hidden.at(0));
  });
  HeardTimes times;
  const auto changedWithin = [&](bool hidden) { return times.waitFor(heard, hidden); };
  ASSERT_TRUE(waitUntil([&] { return !heard.empty(); }, 15s)) << "the watch reports once it starts";
  EXPECT_FALSE(heard.back()) << "the shell's desktop windows cover the screen and hide nothing";

  ::ShowWindow(window, SW_MAXIMIZE);
  EXPECT_TRUE(changedWithin(true));
  // A new shell, with new desktop windows, while the desktop is hidden: the
  // watch has looked at the old ones and must know the new ones for what they are.
  ASSERT_TRUE(shell.restart()) << shell.logText();
  ASSERT_NE(shell.requestWorker(), nullptr) << shell.logText();
  ::ShowWindow(window, SW_RESTORE);
  EXPECT_TRUE(changedWithin(false)) << "restored, it leaves the new shell's desktop seen";

  ::ShowWindow(window, SW_MAXIMIZE);
  EXPECT_TRUE(changedWithin(true));
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(changedWithin(false)) << "a cover closed hides nothing";
  EXPECT_EQ(heard, (std::vector<bool>{false, true, false, true, false}));
}

}  // namespace
