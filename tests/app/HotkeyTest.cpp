// The two global hotkeys as the program's start-up registers them on
// MainWindow: Ctrl+Alt+F10, typed on the keyboard, pauses and resumes the player and swaps the play
// button's picture; a second registration of an id keeps the first handler.
// (Ctrl+Alt+End ends the process: tests/app/ExitPathsTest.cpp.)
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Hotkeys.h"
#include "engines/ExuiBinding.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "shell/Layouts.h"
#include "shell/WindowBuilder.h"
#include "tests/app/ProgramInProcess.h"
#include "tests/outside/exui/Input.h"

namespace qova::test {
namespace {

exui::Bytes skinFile(const char* name) {
  const std::string bytes = readWholeFile(programFile(name));
  return exui::Bytes(bytes.begin(), bytes.end());
}

LPARAM combination(UINT key) { return MAKELPARAM(MOD_CONTROL | MOD_ALT, key); }

struct PanelSetting {
  const char* name;
  const char* settings;
};

std::string settingName(const ::testing::TestParamInfo<PanelSetting>& parameter) { return parameter.param.name; }

class PlayPauseHotkey : public ProgramInProcess, public ::testing::WithParamInterface<PanelSetting> {
 protected:
  exui::Bytes playButtonPictures() const {
    return componentBytesProperty(controlByName(mainWindow, kPlayButtonName), kExuiPropStateImages);
  }
};

TEST_P(PlayPauseHotkey, TwicePausesThenResumesAndSwapsThePlayButtonsPicture) {
  start(GetParam().settings);
  const exui::Bytes paused = skinFile("skin_bf.ex");
  const exui::Bytes playing = skinFile("skin_zt.ex");
  ASSERT_FALSE(paused.empty());
  ASSERT_FALSE(playing.empty());
  ASSERT_NE(paused, playing);
  ASSERT_EQ(program->isPlaying(), 1);

  mark();
  realChord({VK_CONTROL, VK_MENU}, VK_F10);
  ASSERT_TRUE(settleUntil([&] { return program->isPlaying() == 0; })) << "Ctrl+Alt+F10 did not arrive";
  EXPECT_EQ(playButtonPictures(), paused) << "the play symbol while paused";
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_Pause"));

  mark();
  realChord({VK_CONTROL, VK_MENU}, VK_F10);
  ASSERT_TRUE(settleUntil([&] { return program->isPlaying() == 1; })) << "Ctrl+Alt+F10 did not arrive";
  EXPECT_EQ(playButtonPictures(), playing) << "the pause symbol while playing";
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_Play"));
  EXPECT_TRUE(::IsWindow(mainWindow));
}

INSTANTIATE_TEST_SUITE_P(ShownOrHidden, PlayPauseHotkey,
                         ::testing::Values(PanelSetting{"Shown", ""},
                                           PanelSetting{"Hidden", "[程序设置]\r\n窗体显示=1\r\n"}),
                         settingName);

class Hotkeys : public ProgramInProcess {};

TEST_F(Hotkeys, StartUpRegistersExitThenPlayPauseOnMainWindow) {
  start();
  const std::vector<HotkeyEntry>& table = program->hotkeys.table();
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].id, kHotkeyExit);
  EXPECT_EQ(table[1].id, kHotkeyPlayPause);
  for (const HotkeyEntry& entry : table) {
    EXPECT_EQ(entry.window, mainWindow);
    EXPECT_TRUE(entry.handler);
  }
  // Both combinations are taken now: nobody else gets them.
  EXPECT_FALSE(::RegisterHotKey(nullptr, 0x5001, MOD_CONTROL | MOD_ALT, VK_END));
  EXPECT_FALSE(::RegisterHotKey(nullptr, 0x5002, MOD_CONTROL | MOD_ALT, VK_F10));
}

int gSecondHandlerCalls = 0;
LRESULT CALLBACK secondHandler(HWND, UINT, WPARAM, LPARAM) {
  ++gSecondHandlerCalls;
  return 0;
}

TEST_F(Hotkeys, RegisteringAnIdAgainKeepsTheFirstEntrysHandler) {
  start();
  gSecondHandlerCalls = 0;
  ASSERT_TRUE(
      program->hotkeys.registerHotkey(mainWindow, MOD_CONTROL | MOD_ALT, VK_F10, secondHandler, kHotkeyPlayPause));
  ASSERT_EQ(program->hotkeys.table().size(), 3u) << "the old entry stays, the new one is appended";

  mark();
  ::SendMessageA(mainWindow, WM_HOTKEY, kHotkeyPlayPause, combination(VK_F10));
  EXPECT_EQ(gSecondHandlerCalls, 0);
  EXPECT_EQ(program->isPlaying(), 0) << "the first entry's handler paused";
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_Pause"));
}

TEST_F(Hotkeys, AnIdWithoutAnEntryGoesOnToTheWindow) {
  start();
  mark();
  ::SendMessageA(mainWindow, WM_HOTKEY, 7, combination('Q'));
  EXPECT_EQ(program->isPlaying(), 1);
  EXPECT_EQ(callsSinceMark(), "");
  EXPECT_TRUE(::IsWindow(mainWindow));
}

}  // namespace
}  // namespace qova::test
