// Journeys with no desktop layer (no shell): the player is then a top-level
// window of the screen's size, so its picture can be read back from the
// screen and tells which video plays and whether it moves.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

#include "library/LibraryRecord.h"
#include "tests/acceptance/ScreenWatch.h"
#include "tests/acceptance/WallpaperProgram.h"

namespace {

using namespace std::chrono_literals;
using qova::test::PanelButton;
using qova::test::Picture;
using qova::test::WallpaperProgram;

// Longer than a clip plays (2 s): a picture that holds this long is paused.
constexpr auto kLongerThanAClip = 3s;
// Longer than a long clip plays (6 s).
constexpr auto kLongerThanALongClip = 7s;

std::string names(const std::vector<Picture>& pictures) {
  std::string text;
  for (Picture p : pictures) text += qova::test::nameOf(p) + " ";
  return text;
}

// The first solid-colour picture that differs from `from`.
Picture nextPictureAfter(Picture from, std::chrono::milliseconds timeout = 15s) {
  Picture seen = Picture::Other;
  qova::test::waitUntil(
      [&] {
        seen = qova::test::centrePicture();
        return seen != Picture::Other && seen != from;
      },
      timeout);
  return seen;
}

// True when the centre kept showing `picture` for the whole time.
bool holds(Picture picture, std::chrono::milliseconds duration) {
  return !qova::test::waitUntil([&] { return qova::test::centrePicture() != picture; }, duration);
}

void expectCleanExit(WallpaperProgram& program, HWND player) {
  auto exitCode = program.waitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "the program kept running";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_FALSE(::IsWindow(player)) << "the player window was left on the screen";
}

TEST(PlaybackJourney, ThreeVideosInOrderTheButtonsAndADelete) {
  WallpaperProgram program;
  const auto clips = program.useLibraryOf({qova::test::kRedClip, qova::test::kGreenClip, qova::test::kBlueClip});
  const std::string before = program.libraryText();
  ASSERT_TRUE(program.start());
  HWND player = program.playerWindow();
  ASSERT_NE(player, nullptr) << "no player window";
  const RECT playerRect = qova::test::windowRectOf(player);
  EXPECT_EQ(playerRect.right - playerRect.left, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(playerRect.bottom - playerRect.top, ::GetSystemMetrics(SM_CYSCREEN));

  // Each end opens the next file; after the last comes the first.
  const auto order = qova::test::watchPictures(4, 40s);
  ASSERT_EQ(order, (std::vector<Picture>{Picture::Red, Picture::Green, Picture::Blue, Picture::Red}))
      << "seen: " << names(order);

  // "上一首" from the first goes to the last (the end of a file would have gone to the second).
  ASSERT_TRUE(program.clickPanelButton(PanelButton::Previous));
  EXPECT_EQ(nextPictureAfter(Picture::Red), Picture::Blue);

  // Paused, the picture holds past the clip's end; "下一首" then opens the next one.
  ASSERT_TRUE(qova::test::waitForPicture(Picture::Blue));
  qova::test::pressCtrlAlt(VK_F10);
  EXPECT_TRUE(holds(Picture::Blue, kLongerThanAClip)) << "Ctrl+Alt+F10 did not pause";
  ASSERT_TRUE(program.clickPanelButton(PanelButton::Next));
  EXPECT_EQ(nextPictureAfter(Picture::Blue), Picture::Red);

  // "下一首" asks for playback, so the pause of the user's ended with it: one Ctrl+Alt+F10 pauses again.
  ASSERT_TRUE(qova::test::waitForPicture(Picture::Red));
  qova::test::pressCtrlAlt(VK_F10);
  EXPECT_TRUE(holds(Picture::Red, kLongerThanAClip)) << "Ctrl+Alt+F10 did not pause";

  // "删除该项" on the second item: the library file loses exactly that record, and the entry
  // after the deleted one plays next (never the deleted video).
  ASSERT_TRUE(program.deleteLibraryItem(1));
  // The entry after it opens held by the user's pause; Ctrl+Alt+F10 plays it.
  qova::test::pressCtrlAlt(VK_F10);
  const std::string expected = qova::libraryRecord(clips[0], "", "clip_red") +
                               qova::libraryRecord(clips[2], "", "clip_blue");
  EXPECT_TRUE(qova::test::waitUntil([&] { return program.libraryText() == expected; }, 10s))
      << "before:\n" << before << "after:\n" << program.libraryText();
  // The library window covers the middle of the screen: a left click on the icon hides it.
  program.trayEvent(WM_LBUTTONUP);
  ASSERT_TRUE(qova::test::waitUntil([&] { return !::IsWindowVisible(program.popupWindow()); }, 5s));
  EXPECT_EQ(nextPictureAfter(Picture::Red), Picture::Blue);
  const auto after = qova::test::watchPictures(3, 30s);
  EXPECT_EQ(after, (std::vector<Picture>{Picture::Blue, Picture::Red, Picture::Blue})) << "seen: " << names(after);

  ::PostMessageA(program.mainWindow(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_END));
  expectCleanExit(program, player);
}

// Files the engine cannot play are passed over: one it refuses at once (noise bytes) and one cut
// off before its index. Their records stay in the library.
TEST(PlaybackJourney, FilesThatCannotPlayArePassedOver) {
  WallpaperProgram program;
  program.useLibraryOf({qova::test::kRedClip, "corrupt.mp4", "truncated.mp4", qova::test::kBlueClip});
  const std::string before = program.libraryText();
  ASSERT_TRUE(program.start());
  const auto order = qova::test::watchPictures(3, 30s);
  EXPECT_EQ(order, (std::vector<Picture>{Picture::Red, Picture::Blue, Picture::Red})) << "seen: " << names(order);
  EXPECT_EQ(program.libraryText(), before);
  ::PostMessageA(program.mainWindow(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_END));
  EXPECT_TRUE(program.waitForExit().has_value());
}

TEST(PlaybackJourney, AClickOnAListItemPlaysIt) {
  WallpaperProgram program;
  program.useLibraryOf({qova::test::kRedClip, qova::test::kGreenClip, qova::test::kBlueClip});
  ASSERT_TRUE(program.start());
  ASSERT_TRUE(qova::test::waitForPicture(Picture::Blue, 20s));
  // The second item (the end of the third would have gone to the first).
  ASSERT_TRUE(program.clickLibraryItem(1));
  program.trayEvent(WM_LBUTTONUP);  // the library window covers the middle of the screen
  ASSERT_TRUE(qova::test::waitUntil([&] { return !::IsWindowVisible(program.popupWindow()); }, 5s));
  EXPECT_EQ(nextPictureAfter(Picture::Blue), Picture::Green);
  ::PostMessageA(program.mainWindow(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_END));
  EXPECT_TRUE(program.waitForExit().has_value());
}

TEST(PlaybackJourney, TheMovingPictureUnderThePanelMovesAndCtrlAltF10PausesIt) {
  WallpaperProgram program;
  program.useLibraryOf({qova::test::kMovingClip});
  ASSERT_TRUE(program.start());
  HWND player = program.playerWindow();
  ASSERT_NE(player, nullptr);
  HWND panel = program.mainWindow();
  ASSERT_TRUE(qova::test::waitUntil([&] { return ::IsWindowVisible(panel) != FALSE; }, 10s));
  const RECT panelRect = qova::test::windowRectOf(panel);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(panelRect.right, screenWidth);
  const RECT centre{screenWidth / 2 - 100, screenHeight / 2 - 100, screenWidth / 2 + 100, screenHeight / 2 + 100};
  // The screenshots below cannot show the panel over the picture under Wine: the player's X
  // window comes to the top once its renderer draws, and Wine's X11 driver never lowers a window
  // in X. The order the program gives the two windows (the player at the bottom, the panel above
  // it) is checked with the recording engine in wallpaper_tests.
  // The first change may be the first frame itself; the second is the picture moving.
  auto first = qova::test::captureScreen();
  ASSERT_FALSE(first.pixels.empty());
  ASSERT_TRUE(qova::test::waitUntil(
      [&] { return qova::test::changedShare(first, qova::test::captureScreen(), centre) > 0.05; }, 20s))
      << "nothing shows";
  first = qova::test::captureScreen();
  EXPECT_TRUE(qova::test::waitUntil(
      [&] { return qova::test::changedShare(first, qova::test::captureScreen(), centre) > 0.05; }, 20s))
      << "the picture does not move";

  // Pause by hotkey: the picture comes to stand still, and stays so. Nothing of the paused
  // program moves that could prove a frame would have come: screens some frames apart agree,
  // three times in a row (the card's renderer may still draw what was queued before the pause).
  qova::test::pressCtrlAlt(VK_F10);
  auto paused = qova::test::captureScreen();
  int stillFor = 0;
  EXPECT_TRUE(qova::test::waitUntil(
      [&] {
        ::Sleep(300);
        auto now = qova::test::captureScreen();
        stillFor = qova::test::changedShare(paused, now, centre) < 0.01 ? stillFor + 1 : 0;
        paused = std::move(now);
        return stillFor >= 3;
      },
      20s))
      << "Ctrl+Alt+F10 did not pause";
  ASSERT_FALSE(paused.pixels.empty());
  EXPECT_FALSE(qova::test::waitUntil(
      [&] { return qova::test::changedShare(paused, qova::test::captureScreen(), centre) >= 0.01; }, 1s))
      << "the paused picture moved on";

  // WM_HOTKEY 1, as the system sends it for Ctrl+Alt+End.
  ::PostMessageA(panel, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_END));
  expectCleanExit(program, player);
}

// Paused, a clip holds its picture past its end; resumed, it plays to its end and the next one
// follows. (The end is what proves the resume: under Wine a file paused in its first moments may
// keep a still picture after resuming, though its clock runs on to the end.)
TEST(PlaybackJourney, ThePlayButtonAndCtrlAltF10PauseAndResume) {
  WallpaperProgram program;
  program.useLibraryOf({qova::test::kLongRedClip, qova::test::kLongGreenClip, qova::test::kLongBlueClip});
  ASSERT_TRUE(program.start());
  const auto toggleBy = [&](bool button) {
    if (button)
      ASSERT_TRUE(program.clickPanelButton(PanelButton::PlayPause));
    else
      qova::test::pressCtrlAlt(VK_F10);
  };
  Picture shown = Picture::Red;
  for (bool byButton : {true, false}) {
    SCOPED_TRACE(byButton ? "the play button" : "Ctrl+Alt+F10");
    // Just after a clip has begun, so that its end is not already under way.
    shown = nextPictureAfter(shown);
    ASSERT_NE(shown, Picture::Other);
    toggleBy(byButton);
    EXPECT_TRUE(holds(shown, kLongerThanALongClip)) << "did not pause";
    toggleBy(byButton);
    const Picture next = shown == Picture::Red ? Picture::Green : shown == Picture::Green ? Picture::Blue : Picture::Red;
    EXPECT_EQ(nextPictureAfter(shown, 20s), next) << "did not resume";
  }
  ::PostMessageA(program.mainWindow(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_END));
  EXPECT_TRUE(program.waitForExit().has_value());
}

}  // namespace
