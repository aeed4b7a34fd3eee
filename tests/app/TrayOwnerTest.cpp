// The notification icon as the program's start-up adds it on the library
// window: its record (the same when the taskbar is made again), a tip cut at
// 127 bytes, its events, which the window's own procedure delivers until the
// icon is removed, and what it tells the user when no video of the library
// plays or the last run crashed.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Hotkeys.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "tests/app/ProgramInProcess.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"

namespace qova::test {
namespace {

// The engine calls that open a file, in order.
std::string opensIn(const std::string& calls) {
  std::string opens;
  size_t at = 0;
  while ((at = calls.find("APlayer_OpenA(", at)) != std::string::npos) {
    const size_t end = calls.find('\n', at) + 1;
    opens += calls.substr(at, end - at);
    at = end;
  }
  return opens;
}

class TrayOwner : public ProgramInProcess {};

TEST_F(TrayOwner, TheIconBelongsToPopupWindowAndALongTipIsCutAt127Bytes) {
  start();
  const NOTIFYICONDATAA& data = program->tray.iconData();
  EXPECT_EQ(data.hWnd, libraryWindow);
  EXPECT_EQ(data.uID, 1u);
  EXPECT_EQ(data.uCallbackMessage, 11685u);
  EXPECT_STREQ(data.szTip, "QOVA_壁纸");
  // The taskbar made again gets the same icon back, without an old balloon told again.
  program->tray.showBalloon("旧消息", "旧消息", NIIF_INFO, 0);
  ::SendMessageA(libraryWindow, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(data.hWnd, libraryWindow);
  EXPECT_EQ(data.uCallbackMessage, 11685u);
  EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
  EXPECT_STREQ(data.szTip, "QOVA_壁纸");
  EXPECT_STREQ(data.szInfo, "");
  EXPECT_NE(program->tray.setTip(std::string(200, 'q')), FALSE) << "the shell took the change";
  EXPECT_EQ(std::string(program->tray.iconData().szTip), std::string(127, 'q'));
}

// The note a crashed run leaves (its journey, with the crash itself, runs qova.exe).
TEST_F(TrayOwner, AfterACrashTheStartTellsWhereTheReportIsAndTakesTheNote) {
  const std::string logs = programFile("logs");
  ::CreateDirectoryA(logs.c_str(), nullptr);
  ASSERT_TRUE(writeWholeFile(logs + "\\crash.pending", logs + "\\crash-20261208-231500.dmp"));
  start();
  const NOTIFYICONDATAA& data = program->tray.iconData();
  EXPECT_STREQ(data.szInfoTitle, "程序上次意外结束");
  EXPECT_NE(std::string(data.szInfo).find(logs), std::string::npos) << data.szInfo;
  EXPECT_EQ(data.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(::GetFileAttributesA((logs + "\\crash.pending").c_str()), INVALID_FILE_ATTRIBUTES) << "told again next time";
}

TEST_F(TrayOwner, TheLibraryWindowsOwnProcedureDeliversTheIconsEventsUntilItIsRemoved) {
  start();
  ::SendMessageA(libraryWindow, 11685, 1, WM_LBUTTONUP);
  ASSERT_TRUE(::IsWindowVisible(libraryWindow)) << "the handler runs while the icon is there";

  program->tray.remove();
  EXPECT_EQ(program->tray.ownerWindow(), nullptr);
  ::SendMessageA(libraryWindow, 11685, 1, WM_LBUTTONUP);
  EXPECT_TRUE(::IsWindowVisible(libraryWindow)) << "no handler any more";
}

TEST_F(TrayOwner, WhenNoEntryPlaysPlaybackStopsAfterEachRoundTellsOnceEachTimeAndTheHotkeyTriesAgain) {
  ASSERT_TRUE(writeWholeFile(videos[0], kRecordingCannotOpen));
  ASSERT_TRUE(writeWholeFile(videos[1], kRecordingCannotPlay));
  ASSERT_TRUE(writeWholeFile(videos[2], kRecordingCannotOpen));
  start();
  ASSERT_TRUE(settleUntil([&] { return program->playback.stopped(); })) << callsSinceMark();
  const NOTIFYICONDATAA& data = program->tray.iconData();
  EXPECT_STREQ(data.szInfoTitle, "视频无法播放");
  EXPECT_NE(std::string(data.szInfo).find("都无法播放"), std::string::npos) << data.szInfo;
  EXPECT_EQ(data.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));

  // A balloon of the test's own: a second message from the program would replace it.
  program->tray.showBalloon("-", "-", NIIF_NONE, 0);
  fireEngineEvent(kAPlayerEventOpenFailed, 0);  // late news of the last file
  pumpMessagesFor(std::chrono::milliseconds(500));
  EXPECT_STREQ(program->tray.iconData().szInfo, "-") << "told more than once";
  const std::string opens = engineCall("APlayer_OpenA", videos[0]) + engineCall("APlayer_OpenA", videos[1]) +
                            engineCall("APlayer_OpenA", videos[2]);
  EXPECT_EQ(opensIn(callsSinceMark()), opens) << "one round, then no more";

  // "下一首" asks again: another whole round fails, and the user is told again.
  mark();
  program->playNext();
  ASSERT_TRUE(settleUntil([&] { return std::string(program->tray.iconData().szInfo) != "-"; })) << callsSinceMark();
  EXPECT_STREQ(program->tray.iconData().szInfoTitle, "视频无法播放");
  EXPECT_TRUE(program->playback.stopped());
  EXPECT_EQ(opensIn(callsSinceMark()), opens);
  program->tray.showBalloon("-", "-", NIIF_NONE, 0);

  // Ctrl+Alt+F10 tries again from the entry the round ended on; the second entry plays now.
  ASSERT_TRUE(writeWholeFile(videos[1], "stands for a video"));
  mark();
  ::SendMessageA(mainWindow, WM_HOTKEY, kHotkeyPlayPause, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F10));
  ASSERT_TRUE(settleUntil([&] { return callsSinceMark().find(videos[1]) != std::string::npos; })) << callsSinceMark();
  pumpMessagesFor(std::chrono::milliseconds(500));
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_OpenA", videos[2]) + engineCall("APlayer_OpenA", videos[0]) +
                                  engineCall("APlayer_OpenA", videos[1]));
  EXPECT_FALSE(program->playback.stopped());
  EXPECT_EQ(program->isPlaying(), 1);
  EXPECT_EQ(program->library.currentIndex, 2);

  // A change of the library begins a new round: when that fails as a whole, the user is told again.
  ASSERT_TRUE(writeWholeFile(videos[1], kRecordingCannotPlay));
  program->deleteLibraryEntry(0);
  ASSERT_TRUE(settleUntil([&] { return std::string(program->tray.iconData().szInfo) != "-"; })) << callsSinceMark();
  EXPECT_STREQ(program->tray.iconData().szInfoTitle, "视频无法播放");
  EXPECT_TRUE(program->playback.stopped());
}

}  // namespace
}  // namespace qova::test
