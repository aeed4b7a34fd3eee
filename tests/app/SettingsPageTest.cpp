// The library window's settings page in the running program, driven by the
// keyboard alone once the application menu opened it (at 96 DPI, and at 192
// in the CTest entry app_window_tests_192dpi): each setting's key is
// written at once, and the players, the pause causes and the page follow.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "app/Settings.h"
#include "engines/ExuiBinding.h"
#include "shell/Layouts.h"
#include "tests/app/ProgramInProcess.h"
#include "tests/outside/exui/Input.h"
#include "tests/support/MenuCloser.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

class SettingsPage : public ProgramInProcess {
 protected:
  // The application menu from a right click on the list's empty space, its
  // last item chosen with End and Enter (the menu is modal: a thread of the test answers it).
  void openPage() {
    MenuCloser answers(::GetCurrentProcessId(), {VK_END, VK_RETURN});
    HWND list = libraryList();
    RECT client{};
    ::GetClientRect(list, &client);
    POINT empty{40, client.bottom - 20};
    ::ClientToScreen(list, &empty);
    realClick(empty.x, empty.y, Button::Right);
    ASSERT_TRUE(settleUntil([&] { return ::IsWindowVisible(page()) != FALSE; }, 15s));
  }
  HWND page() const { return controlByName(libraryWindow, kSettingsPageName); }
  // A key as the user presses it: to the window with the keyboard focus.
  void key(UINT key) {
    HWND focus = ::GetFocus();
    ASSERT_EQ(focus, libraryWindow) << "the page keeps the focus on the library window";
    pressKey(focus, key);
    pumpMessagesFor(50ms);
  }
  void keys(std::initializer_list<UINT> pressed) {
    for (UINT each : pressed) key(each);
  }
  static std::string stored(const char* name) { return readSetting(name, "(absent)"); }
  int32_t titleColour(const std::string& component) const {
    return componentIntegerProperty(controlByName(libraryWindow, component), kExuiPropTextColour);
  }
};

TEST_F(SettingsPage, EveryControlWritesItsKeyAndTheProgramFollowsByKeyboardAlone) {
  start();
  showLibraryWindow();
  openPage();
  EXPECT_FALSE(::IsWindowVisible(libraryList())) << "the page takes the list's place";
  const char* dpi = std::getenv("QOVA_TEST_DPI");
  EXPECT_EQ(layoutDpi(libraryWindow), dpi ? std::atoi(dpi) : 96);
  EXPECT_NE(titleColour(settingGroupName(0)), 0) << "the mark starts on the first group";
  const std::string player = std::to_string(program->screens.primary().handle());

  // 画面填充: each arrow moves on and the player scales the picture at once.
  mark();
  key(VK_RIGHT);
  EXPECT_EQ(stored(kSettingPictureScaling), "适应");
  EXPECT_EQ(callsSinceMark(), "APlayer_SetConfigA(" + player + ",3,0)\n");
  key(VK_RIGHT);
  EXPECT_EQ(stored(kSettingPictureScaling), "拉伸");
  key(VK_RIGHT);
  EXPECT_EQ(stored(kSettingPictureScaling), "填充") << "the choices wrap";
  key(VK_LEFT);
  EXPECT_EQ(stored(kSettingPictureScaling), "拉伸");
  EXPECT_EQ(componentIntegerProperty(controlByName(libraryWindow, settingChoiceName(0, 2)), kExuiPropChecked), 1);

  // 多显示器: the primary's player alone, laid out again without starting over.
  key(VK_TAB);
  EXPECT_EQ(titleColour(settingGroupName(0)), 0);
  EXPECT_NE(titleColour(settingGroupName(1)), 0) << "Tab moves the mark";
  mark();
  key(VK_SPACE);
  EXPECT_EQ(stored(kSettingEveryMonitor), "0");
  EXPECT_EQ(program->screens.count(), 1u);
  EXPECT_EQ(callsSinceMark().find("APlayer_OpenA"), std::string::npos) << callsSinceMark();

  // 遮挡时暂停 off: a desktop that was hidden stops counting, and the video plays on.
  key(VK_TAB);
  program->screens.apply(program->screens.policy().setHidden({true}));
  ASSERT_FALSE(program->screens.policy().plays(0));
  mark();
  key(VK_RETURN);
  EXPECT_EQ(stored(kSettingPauseWhenHidden), "0");
  EXPECT_TRUE(program->screens.policy().plays(0));
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_Play"));

  // The other three causes: turned off, a cause that held is cleared.
  const PauseCause causes[] = {PauseCause::SessionLocked, PauseCause::DisplayOff, PauseCause::BatterySaver};
  const char* names[] = {kSettingPauseWhenLocked, kSettingPauseWhenDisplayOff, kSettingPauseOnBatterySaver};
  for (int i = 0; i < 3; ++i) {
    key(VK_TAB);
    program->setPauseCause(causes[i], true);
    ASSERT_FALSE(program->screens.policy().plays(0)) << names[i];
    key(VK_DOWN);
    EXPECT_EQ(stored(names[i]), "0") << names[i];
    EXPECT_TRUE(program->screens.policy().plays(0)) << names[i];
    key(VK_UP);
    EXPECT_EQ(stored(names[i]), "1") << names[i];
  }

  // 播放顺序: shuffled from the next video on.
  key(VK_TAB);
  key(VK_RIGHT);
  EXPECT_EQ(stored(kSettingPlayOrder), "随机");
  EXPECT_TRUE(shuffledPlayOrder());

  // 每个视频时长: the slider, in whole minutes.
  key(VK_TAB);
  keys({VK_RIGHT, VK_RIGHT});
  EXPECT_EQ(stored(kSettingMinutesPerVideo), "2");
  EXPECT_EQ(minutesPerVideo(), 2);
  EXPECT_EQ(sliderPosition(controlByName(libraryWindow, settingSliderName(7))), 2);
  key(VK_NEXT);
  EXPECT_EQ(stored(kSettingMinutesPerVideo), "12");
  key(VK_HOME);
  EXPECT_EQ(stored(kSettingMinutesPerVideo), "0");

  // 画面绘制: every player is told at once, for its next video.
  key(VK_TAB);
  mark();
  key(VK_RIGHT);
  EXPECT_EQ(stored(kSettingPresentation), "显卡");
  EXPECT_EQ(callsSinceMark(), "APlayer_SetConfigA(" + player + ",4,1)\n");

  // "返回视频库" with Enter: the list again.
  key(VK_TAB);
  EXPECT_NE(titleColour(kSettingsBackButtonName), 0);
  key(VK_RETURN);
  EXPECT_FALSE(::IsWindowVisible(page()));
  EXPECT_TRUE(::IsWindowVisible(libraryList()));
}

TEST_F(SettingsPage, ShowsWhatTheFileHoldsAndEscapeGoesBack) {
  start("[程序设置]\r\n画面填充=适应\r\n遮挡时暂停=0\r\n每个视频时长=7\r\n播放顺序=随机\r\n");
  showLibraryWindow();
  openPage();
  EXPECT_EQ(componentIntegerProperty(controlByName(libraryWindow, settingChoiceName(0, 1)), kExuiPropChecked), 1);
  EXPECT_EQ(componentIntegerProperty(controlByName(libraryWindow, settingChoiceName(2, 1)), kExuiPropChecked), 1);
  EXPECT_EQ(componentIntegerProperty(controlByName(libraryWindow, settingChoiceName(6, 1)), kExuiPropChecked), 1);
  EXPECT_EQ(sliderPosition(controlByName(libraryWindow, settingSliderName(7))), 7);
  keys({VK_TAB, VK_TAB, VK_LEFT});
  EXPECT_EQ(stored(kSettingPauseWhenHidden), "1");
  // Shift+Tab, through the system's input, goes back a group.
  ::SetForegroundWindow(libraryWindow);
  realChord({VK_SHIFT}, VK_TAB);
  ASSERT_TRUE(settleUntil([&] { return titleColour(settingGroupName(1)) != 0; }));
  EXPECT_EQ(titleColour(settingGroupName(2)), 0);
  key(VK_ESCAPE);
  EXPECT_FALSE(::IsWindowVisible(page()));
}

TEST_F(SettingsPage, OnTwoRealMonitorsTurningEveryMonitorOffAndOnRemovesAndAddsTheSecondPlayer) {
  ASSERT_GE(::GetSystemMetrics(SM_CMONITORS), 2) << "needs the display of two monitors (BENCH_MONITORS=2)";
  start();
  ASSERT_EQ(program->screens.count(), 2u);
  showLibraryWindow();
  openPage();
  key(VK_TAB);
  key(VK_SPACE);
  EXPECT_EQ(stored(kSettingEveryMonitor), "0");
  EXPECT_EQ(program->screens.count(), 1u) << "the primary's player alone";
  mark();
  key(VK_SPACE);
  EXPECT_EQ(stored(kSettingEveryMonitor), "1");
  ASSERT_EQ(program->screens.count(), 2u);
  const std::string second = std::to_string(program->screens.at(1).handle());
  EXPECT_NE(callsSinceMark().find("APlayer_OpenA(" + second + "," + videos[0] + ")"), std::string::npos)
      << "the new player joins the primary's video: " << callsSinceMark();
}

}  // namespace
}  // namespace qova::test
