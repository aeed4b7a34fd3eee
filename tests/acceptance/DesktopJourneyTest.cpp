// Journeys beside the desktop-shell stand-in: the player inside the shell's
// background layer, the panel and its settings view, hiding the panel and
// bringing it back, the volume setting
// across two starts, a shell restart, and each way out, after which the
// video is gone and the shell has repainted its static wallpaper.
#include <gtest/gtest.h>
#include <windows.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "tests/acceptance/ScreenWatch.h"
#include "tests/bench/BenchSupport.h"
#include "tests/bench/timing_aplayer/TimingLog.h"
#include "tests/acceptance/WallpaperProgram.h"
#include "tests/support/OtherProgramWindow.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace {

using namespace std::chrono_literals;
using qova::test::MenuItem;
using qova::test::ShellLayout;
using qova::test::ShellStandin;
using qova::test::WallpaperProgram;

// The primary monitor's work area as this process sees it (under Wine each
// process has its own, and nothing here changes it).
RECT workArea() {
  RECT area{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// Waits until the panel has the settings view's final rectangle: 387 high,
// in the work area's bottom-right corner.
bool showsSettingsView(WallpaperProgram& program) {
  return qova::test::waitUntil(
      [&] {
        const RECT r = qova::test::windowRectOf(program.mainWindow());
        return program.panelShowsSettingsView() && r.bottom == workArea().bottom && r.right == workArea().right;
      },
      10s);
}

class DesktopJourney : public ::testing::Test {
 protected:
  void startBeside(ShellStandin& shell, const std::vector<std::string>& clips = {qova::test::kMovingClip}) {
    ASSERT_TRUE(shell.ready()) << shell.logText();
    program.useLibraryOf(clips);
    ASSERT_TRUE(program.start([&] { return layerOf(shell); })) << "no player window in the desktop layer\n" << shell.logText();
    player = program.playerWindow(layerOf(shell));
    ASSERT_NE(player, nullptr) << "no player window in the desktop layer\n" << shell.logText();
    EXPECT_TRUE(::IsWindowVisible(player));
    const RECT r = qova::test::windowRectOf(player);
    EXPECT_EQ(r.right - r.left, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom - r.top, ::GetSystemMetrics(SM_CYSCREEN));
  }

  // Where the player lives: the worker, or "Progman" itself on Windows 11 24H2.
  static HWND layerOf(ShellStandin& shell) {
    return ::GetParent(shell.worker()) == shell.progman() && (::GetWindowLongA(shell.worker(), GWL_STYLE) & WS_CHILD)
               ? shell.progman()
               : shell.worker();
  }

  // After an exit path: exit code 0, the player gone, the worker hidden and shown again.
  void expectStaticDesktopAfterExit(ShellStandin& shell, std::size_t logMark) {
    auto exitCode = program.waitForExit();
    ASSERT_TRUE(exitCode.has_value()) << "the program kept running";
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_FALSE(::IsWindow(player)) << "the video was left on the desktop";
    const std::string worker = ShellStandin::hex(shell.worker());
    const auto since = shell.logSince(logMark);
    const auto hidden = std::find(since.begin(), since.end(), "show " + worker + " 0");
    EXPECT_NE(hidden, since.end()) << "the worker was not refreshed\n" << shell.logText();
    EXPECT_NE(std::find(hidden, since.end(), "show " + worker + " 1"), since.end())
        << "the worker was not shown again\n" << shell.logText();
    EXPECT_TRUE(::IsWindowVisible(shell.worker()));
  }

  WallpaperProgram program;
  HWND player = nullptr;
};

TEST_F(DesktopJourney, ThePanelOpensItsSettingsViewAndTheLibraryWindowsMenuExits) {
  ShellStandin shell;
  startBeside(shell);
  HWND panel = program.mainWindow();
  ASSERT_TRUE(qova::test::waitUntil([&] { return ::IsWindowVisible(panel) != FALSE; }, 10s))
      << "with no settings file the panel shows at start-up";
  RECT r = qova::test::windowRectOf(panel);
  EXPECT_EQ(r.right, workArea().right);
  EXPECT_EQ(r.bottom, workArea().bottom);
  EXPECT_EQ(r.right - r.left, 216);
  EXPECT_EQ(r.bottom - r.top, 164);

  ASSERT_TRUE(program.chooseFromTrayMenu(MenuItem::OpenSettings));
  EXPECT_TRUE(showsSettingsView(program)) << qova::test::describeWindow(panel);
  EXPECT_EQ(qova::test::windowRectOf(panel).right - qova::test::windowRectOf(panel).left, 216);

  const std::size_t mark = shell.logLineCount();
  ASSERT_TRUE(program.chooseFromTrayMenu(MenuItem::Exit));
  expectStaticDesktopAfterExit(shell, mark);
}

TEST_F(DesktopJourney, HiddenAtStartOnlyTheIconReachesTheLibraryTheSettingsBringThePanelBackAndTheSkinnedMenuExits) {
  ShellStandin shell;
  program.writeSettings("[程序设置]\r\n窗体显示=1\r\n");
  startBeside(shell);
  HWND popup = program.popupWindow();
  EXPECT_FALSE(::IsWindowVisible(popup));
  EXPECT_TRUE(::IsWindowVisible(player)) << "the wallpaper does not play";

  // The icon's click comes after all the start has left to do: by the time it shows the popup,
  // a panel would have shown.
  program.trayEvent(514);
  EXPECT_TRUE(qova::test::waitUntil([&] { return ::IsWindowVisible(popup) != FALSE; }, 10s));
  EXPECT_FALSE(::IsWindowVisible(program.mainWindow())) << "the panel showed";
  program.trayEvent(514);
  EXPECT_TRUE(qova::test::waitUntil([&] { return ::IsWindowVisible(popup) == FALSE; }, 10s));

  // "打开设置" shows the hidden panel with its settings; "显示该窗口" keeps it
  // for every start, "隐藏该窗口" hides it at once and from then on.
  HWND panel = program.mainWindow();
  ASSERT_TRUE(program.chooseFromTrayMenu(MenuItem::OpenSettings));
  EXPECT_TRUE(showsSettingsView(program)) << qova::test::describeWindow(panel);
  EXPECT_TRUE(qova::test::waitUntil([&] { return ::IsWindowVisible(panel) != FALSE; }, 10s));
  ASSERT_TRUE(program.clickPanelButton(qova::test::PanelButton::ShowThisWindow));
  EXPECT_TRUE(qova::test::waitUntil([&] { return program.settingsText().find("窗体显示=0") != std::string::npos; }, 10s))
      << program.settingsText();
  EXPECT_TRUE(::IsWindowVisible(panel));
  ASSERT_TRUE(program.clickPanelButton(qova::test::PanelButton::HideThisWindow));
  EXPECT_TRUE(qova::test::waitUntil([&] { return ::IsWindowVisible(panel) == FALSE; }, 10s));
  EXPECT_NE(program.settingsText().find("窗体显示=1"), std::string::npos) << program.settingsText();

  const std::size_t mark = shell.logLineCount();
  ASSERT_TRUE(program.chooseFromLibraryMenu(MenuItem::Exit));
  expectStaticDesktopAfterExit(shell, mark);
}


// The thumb's centre as the screen shows it: where the slider's filled track ends.
int shownThumbX(WallpaperProgram& program, const qova::test::ScreenImage& screen) {
  const POINT from = program.volumeThumbCentre(0);
  const POINT to = program.volumeThumbCentre(100);
  const uint32_t fill = screen.at(from.x + 1, from.y);
  for (int x = from.x + 1; x <= to.x; ++x)
    if (screen.at(x, from.y) != fill) return x + 5;  // the thumb's face begins 5 pixels left of its centre
  return to.x;
}

// Waits until the screen shows the slider's thumb at `value` (within 4 pixels); the last position
// seen goes to `seen`. The settings view may still be painting when it has reached its size.
bool showsThumbAt(WallpaperProgram& program, int value, int& seen) {
  return qova::test::waitUntil(
      [&] {
        seen = shownThumbX(program, qova::test::captureScreen());
        return std::abs(seen - program.volumeThumbCentre(value).x) <= 4;
      },
      3s);
}

TEST_F(DesktopJourney, TheVolumeSliderIsStoredAndTheNextStartUsesIt) {
  ShellStandin shell;
  program.writeSettings("[其他]\r\n保留=是\r\n");
  startBeside(shell);
  ASSERT_TRUE(program.chooseFromPanelMenu(MenuItem::OpenSettings));
  ASSERT_TRUE(showsSettingsView(program));
  int seen = 0;
  EXPECT_TRUE(showsThumbAt(program, 100, seen))
      << "with no setting the slider stands at 100; its thumb shows at x " << seen << ", 0 is at x "
      << program.volumeThumbCentre(0).x;

  ASSERT_TRUE(program.clickVolumeSliderAt(40));
  EXPECT_TRUE(qova::test::waitUntil([&] { return program.settingsText().find("播放音量=40") != std::string::npos; }, 10s))
      << program.settingsText();
  EXPECT_NE(program.settingsText().find("保留=是"), std::string::npos) << "other settings were lost";

  std::size_t mark = shell.logLineCount();
  ASSERT_TRUE(program.chooseFromPanelMenu(MenuItem::Exit));
  expectStaticDesktopAfterExit(shell, mark);

  startBeside(shell);
  ASSERT_TRUE(program.chooseFromPanelMenu(MenuItem::OpenSettings));
  ASSERT_TRUE(showsSettingsView(program));
  EXPECT_TRUE(showsThumbAt(program, 40, seen))
      << "the slider does not show the stored volume: its thumb shows at x " << seen << ", 40 is at x "
      << program.volumeThumbCentre(40).x;
  mark = shell.logLineCount();
  ASSERT_TRUE(program.chooseFromPanelMenu(MenuItem::Exit));
  expectStaticDesktopAfterExit(shell, mark);
}

TEST_F(DesktopJourney, OnWindows11_24H2ThePlayerSitsBelowTheIconsAndCtrlAltEndExits) {
  ShellStandin shell({.layout = ShellLayout::Win11_24H2});
  startBeside(shell);
  EXPECT_EQ(::GetParent(player), shell.progman());
  EXPECT_EQ(::GetWindow(shell.defView(), GW_HWNDNEXT), player) << "the player is not just below the icons";
  EXPECT_EQ(::GetWindow(player, GW_HWNDNEXT), shell.worker()) << "the player is not above the worker";

  const std::size_t mark = shell.logLineCount();
  ::PostMessageA(program.mainWindow(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_END));
  expectStaticDesktopAfterExit(shell, mark);
}

// The last file the engine was asked to open in these lines of the timing log; empty for none.
std::string lastOpened(const std::vector<qova::bench::LogLine>& lines) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line)
    if (line->what.starts_with("open ")) return line->what.substr(5);
  return {};
}

TEST_F(DesktopJourney, AfterAShellRestartTheVideoGoesOnInTheNewLayerAndTheProgramStillExitsCleanly) {
  ShellStandin shell;
  // The timing engine in front of the real one tells which file each engine opens.
  ASSERT_TRUE(program.folder().copyFromBuild("bench\\timing\\APlayerCaller.dll", "APlayerCaller.dll"));
  ASSERT_TRUE(program.folder().copyFromBuild("APlayerCaller.dll", kTimedEngineFile));
  ASSERT_TRUE(program.folder().copyFromBuild("APlayerDecoder.exe"));
  startBeside(shell, {qova::test::kMovingClip, qova::test::kRedClip});
  const std::string timingLog = program.folder().file(kTimingLogFile);
  ASSERT_NE(qova::bench::waitForLogLine(timingLog, "event 1 3", 20s), 0) << "it plays";
  const std::string entry = lastOpened(qova::bench::readTimedLog(timingLog));

  shell.kill();
  const std::size_t linesWhileAway = qova::bench::readTimedLog(timingLog).size();
  ASSERT_TRUE(shell.restart()) << shell.logText();
  const auto back = std::chrono::steady_clock::now();
  HWND again = nullptr;
  // Made, then shown: both are waited for.
  EXPECT_TRUE(qova::test::waitUntil(
      [&] { return (again = program.playerWindow(layerOf(shell))) != nullptr && ::IsWindowVisible(again); }, 20s))
      << "no player shown in the new layer\n" << shell.logText();
  std::printf("the player was in the new layer %lld ms after the shell was ready\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - back).count()));
  ASSERT_TRUE(program.folder().process().running()) << "the program ended with the shell";
  EXPECT_NE(program.mainWindow(), nullptr);
  if (again) {
    EXPECT_TRUE(::IsWindowVisible(again));
    const RECT r = qova::test::windowRectOf(again);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, ::GetSystemMetrics(SM_CYSCREEN));
  }
  const auto playsAgain = [&] {
    const auto lines = qova::bench::readTimedLog(timingLog);
    return qova::bench::findLine(lines, "event 1 3", linesWhileAway) >= 0;
  };
  EXPECT_TRUE(qova::test::waitUntil(playsAgain, 10s)) << "the video did not go on";
  auto sinceReturn = qova::bench::readTimedLog(timingLog);
  sinceReturn.erase(sinceReturn.begin(), sinceReturn.begin() + static_cast<std::ptrdiff_t>(linesWhileAway));
  EXPECT_EQ(lastOpened(sinceReturn), entry) << "another entry played after the shell came back";

  const std::size_t mark = shell.logLineCount();
  ASSERT_TRUE(program.chooseFromTrayMenu(MenuItem::Exit));
  expectStaticDesktopAfterExit(shell, mark);
}

}  // namespace

namespace {

// How many times the program called APlayer_Play / APlayer_Pause, from the timing engine's log.
struct PlayPauseCalls {
  int play = 0;
  int pause = 0;
  bool operator==(const PlayPauseCalls&) const = default;
};

PlayPauseCalls playPauseCalls(const qova::bench::TimedProgram& program) {
  PlayPauseCalls calls;
  for (const auto& line : qova::bench::readTimedLog(program.timingLog())) {
    calls.play += line.what == "play";
    calls.pause += line.what == "pause";
  }
  return calls;
}

// Another program's window maximized over the desktop, or a locked session, pauses the wallpaper,
// and restored it plays again; a pause of the user's holds through both. (How soon is for
// the cover benchmark: here the calls are waited for.)
TEST(DesktopCoverJourney, ItPausesByItselfWhileHiddenOrLockedAndKeepsTheUsersPause) {
  qova::bench::TimedProgram program;
  program.writeLibrary({qova::bench::buildFile("media\\clip_moving.mp4")}, false);
  ASSERT_TRUE(program.folder().start().started());
  ASSERT_TRUE(qova::bench::waitForLogLine(program.timingLog(), "event 1 3", 20s)) << "it plays";
  const qova::test::OtherProgramWindow other;
  HWND cover = other.window();
  ASSERT_NE(cover, nullptr) << "Notepad did not show";
  qova::test::pumpMessagesFor(1500ms);
  const PlayPauseCalls before = playPauseCalls(program);
  EXPECT_EQ(before, PlayPauseCalls{}) << "a window over part of the desktop changes nothing";

  const auto callsWithin = [&](PlayPauseCalls wanted) {
    return qova::test::waitUntil([&] { return playPauseCalls(program) == wanted; }, 15s);
  };
  ::ShowWindow(cover, SW_MAXIMIZE);
  EXPECT_TRUE(callsWithin({0, 1})) << "maximized over the desktop, it pauses the wallpaper";
  ::ShowWindow(cover, SW_RESTORE);
  EXPECT_TRUE(callsWithin({1, 1})) << "restored, the wallpaper plays again";

  // Ctrl+Alt+F10's message: the user pauses.
  HWND mainWindow = qova::test::findProcessWindow(program.folder().process().id(), "QovaMainWindow");
  ::PostMessageA(mainWindow, WM_HOTKEY, 2, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F10));
  EXPECT_TRUE(callsWithin({1, 2}));
  ::ShowWindow(cover, SW_MAXIMIZE);
  qova::test::pumpMessagesFor(1200ms);
  ::ShowWindow(cover, SW_RESTORE);
  qova::test::pumpMessagesFor(1200ms);
  EXPECT_EQ(playPauseCalls(program), (PlayPauseCalls{1, 2})) << "the user's pause holds through a cover";
  ::PostMessageA(mainWindow, WM_HOTKEY, 2, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F10));
  EXPECT_TRUE(callsWithin({2, 2})) << "and the user's play plays";

  // Several causes at once: a locked session, then a cover; it plays on only when both have ended.
  ::PostMessageA(mainWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  EXPECT_TRUE(callsWithin({2, 3})) << "a locked session pauses it";
  ::ShowWindow(cover, SW_MAXIMIZE);
  qova::test::pumpMessagesFor(1200ms);
  ::PostMessageA(mainWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  qova::test::pumpMessagesFor(600ms);
  EXPECT_EQ(playPauseCalls(program), (PlayPauseCalls{2, 3})) << "unlocked but still hidden, it stays paused";
  ::ShowWindow(cover, SW_RESTORE);
  EXPECT_TRUE(callsWithin({3, 3})) << "uncovered as well, it plays";
}

}  // namespace
