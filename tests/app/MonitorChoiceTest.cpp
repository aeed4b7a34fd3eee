// On the display of two real monitors: an item's "在此显示器上播放" has monitor
// 2 loop that entry while monitor 1 goes through the library; the choice is
// stored under monitor 2's device identity, survives a restart, and
// "跟随主显示器" ends it. The menus are answered by keys, as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/MonitorVideos.h"
#include "app/Settings.h"
#include "app/Wallpaper.h"
#include "engines/ExuiBinding.h"
#include "shell/Layouts.h"
#include "tests/app/ProgramInProcess.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/Input.h"
#include "tests/support/MenuCloser.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

// Waits, from the answering thread, for a visible menu of this process; null once `stop` is set.
HWND awaitMenu(const std::atomic<bool>& stop) {
  HWND menu = nullptr;
  while (!stop && !(menu = visibleMenuOf(::GetCurrentProcessId()))) ::Sleep(20);
  return menu;
}

class MonitorChoice : public ProgramInProcess {
 protected:
  // Right-clicks list item `item`, chooses "在此显示器上播放" in its menu and
  // answers the monitors' menu with `keys`; true once `done` holds.
  bool chooseOnMonitorMenu(int item, std::vector<WPARAM> keys, const std::function<bool()>& done) {
    std::atomic<bool> stop{false};
    std::thread answers([&] {
      HWND itemMenu = awaitMenu(stop);
      if (!itemMenu) return;
      pressMenuKeys(itemMenu, {VK_DOWN, VK_DOWN, VK_RETURN});  // "在此显示器上播放"
      // The item's menu closes before the monitors' menu opens (perhaps in the same window).
      const auto deadline = std::chrono::steady_clock::now() + 3s;
      while (!stop && ::IsWindowVisible(itemMenu) && std::chrono::steady_clock::now() < deadline) ::Sleep(20);
      if (HWND monitorMenu = awaitMenu(stop)) pressMenuKeys(monitorMenu, keys);
    });
    const POINT middle = libraryItemMiddle(item);
    realPress(middle.x, middle.y, Button::Right);
    const bool reached = settleUntil(done, 15s);
    realRelease(Button::Right);
    stop = true;
    answers.join();
    pumpMessagesFor(300ms);
    return reached;
  }

  std::string secondHandle() const { return std::to_string(program->screens.at(1).handle()); }
  std::string opened(const std::string& handle, const std::string& path) const {
    return "APlayer_OpenA(" + handle + "," + path + ")\n";
  }
  void restart() {
    stopWallpaper(program->screens);
    program.reset();
    pumpMessagesFor(100ms);
    MSG quit{};
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    start();
  }
};

TEST_F(MonitorChoice, OnTwoRealMonitorsTheSecondLoopsItsChosenEntryAcrossARestartUntilItFollowsAgain) {
  ASSERT_GE(::GetSystemMetrics(SM_CMONITORS), 2) << "needs the display of two monitors (BENCH_MONITORS=2)";
  start("[程序设置]\r\n窗体显示=1\r\n");
  ASSERT_EQ(program->screens.count(), 2u);
  const std::vector<std::string> identities = program->screens.monitorIdentities();
  ASSERT_EQ(identities.size(), 2u);
  ASSERT_FALSE(identities[1].empty());
  EXPECT_NE(identities[1], identities[0]);
  showLibraryWindow();

  // The third entry on monitor 2 ("显示器 2" is the monitors' menu's first item).
  mark();
  ASSERT_TRUE(chooseOnMonitorMenu(2, {VK_DOWN, VK_RETURN}, [&] {
    return callsSinceMark().find(opened(secondHandle(), videos[2])) != std::string::npos;
  })) << callsSinceMark();
  EXPECT_EQ(readSetting(monitorVideoKey(identities[1]).c_str(), ""), videos[2]);

  // Monitor 1 goes through the library; monitor 2 stays with its entry, and
  // plays it again at each of its ends.
  mark();
  endPlayingFile();
  endPlayingFile();
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_OpenA", videos[1]) + engineCall("APlayer_OpenA", videos[2]));
  mark();
  fireEngineEvent(kAPlayerEventFileEnded, 0);  // the engine made last: monitor 2's
  EXPECT_EQ(callsSinceMark(), opened(secondHandle(), videos[2]));

  // After a restart monitor 2 finds its entry again, muted; monitor 1 begins the library.
  restart();
  ASSERT_EQ(program->screens.count(), 2u);
  const std::string calls = recordingLog();
  EXPECT_NE(calls.find(opened(secondHandle(), videos[2])), std::string::npos) << callsSinceMark();
  EXPECT_NE(calls.find("APlayer_SetConfigA(" + secondHandle() + ",2,1)"), std::string::npos) << callsSinceMark();
  EXPECT_NE(callsSinceMark().find(engineCall("APlayer_OpenA", videos[0])), std::string::npos) << callsSinceMark();

  // "跟随主显示器" in the same entry's menu: monitor 2 joins monitor 1 again, and the key goes.
  showLibraryWindow();
  mark();
  ASSERT_TRUE(chooseOnMonitorMenu(2, {VK_DOWN, VK_DOWN, VK_RETURN}, [&] {
    return callsSinceMark().find(opened(secondHandle(), videos[0])) != std::string::npos;
  })) << callsSinceMark();
  EXPECT_EQ(readSetting(monitorVideoKey(identities[1]).c_str(), "absent"), "absent");
  mark();
  endPlayingFile();
  EXPECT_NE(callsSinceMark().find(opened(secondHandle(), videos[1])), std::string::npos) << callsSinceMark();

  // A monitor whose video leaves the library follows the primary again.
  program->chooseMonitorVideo(0, 1);
  ASSERT_EQ(readSetting(monitorVideoKey(identities[1]).c_str(), ""), videos[0]);
  mark();
  program->deleteLibraryEntry(0);
  EXPECT_TRUE(program->screens.policy().followsPrimary(1));
  const std::string afterDelete = callsSinceMark();
  EXPECT_NE(afterDelete.find(opened(secondHandle(), videos[2])), std::string::npos) << afterDelete;
  EXPECT_EQ(afterDelete.find(opened(secondHandle(), videos[0])), std::string::npos) << afterDelete;
}

}  // namespace
}  // namespace qova::test
