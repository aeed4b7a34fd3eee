// The wallpaper's start and stop inside the desktop-shell stand-in (and with
// no shell at all), with the recording stand-in of the player engine beside
// this test program.
#include "app/Wallpaper.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/MainWindowPlacement.h"
#include "app/Playback.h"
#include "app/Program.h"
#include "app/Settings.h"
#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/WindowSearch.h"

namespace {

using qova::test::ShellLayout;
using qova::test::ShellStandin;
using qova::test::ShellStandinOptions;

std::string recordingLog() {
  auto log = reinterpret_cast<const char* (*)()>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("APlayerCaller.dll"), "Recording_Log")));
  return log ? log() : "";
}

class Wallpaper : public ::testing::Test {
 protected:
  void SetUp() override {
    ::DeleteFileA(qova::settingsFilePath().c_str());
    // One entry whose "video" exists, so that start-up has something to open.
    const std::string video = qova::programFile("player_video.mp4");
    ASSERT_TRUE(qova::writeWholeFile(video, "not really a video"));
    ASSERT_TRUE(qova::writeWholeFile(qova::programFile("spconfiguration_file.ini"), qova::libraryRecord(video, "", "a")));
  }
  void TearDown() override {
    ::DeleteFileA(qova::settingsFilePath().c_str());
    ::DeleteFileA(qova::programFile("spconfiguration_file.ini").c_str());
  }

  HWND startedPlayer() {
    program.library = {};
    program.startWallpaper();
    return program.screens.primary().getWindow();
  }

  static void expectScreenSizedAtOrigin(HWND player) {
    RECT client{};
    ::GetWindowRect(player, &client);
    POINT origin{client.left, client.top};
    ::ScreenToClient(::GetParent(player), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_EQ(client.right - client.left, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(client.bottom - client.top, ::GetSystemMetrics(SM_CYSCREEN));
  }

  qova::Program program;
};

// Where the player lives for each shell, and that stopping removes it and,
// in a shell's layer, has the shell repaint the layer (hide, then show its worker).
enum class Shell { None, Classic, IgnoresTheWorkerRequest, Win11_24H2 };
enum class Home { OwnedWorker, TopLevel, ProgmanBelowTheIcons };

struct ShellHome {
  const char* name;
  Shell shell;
  Home home;
};

void PrintTo(const ShellHome& c, std::ostream* out) { *out << c.name; }

const ShellHome kShellHomes[] = {
    {"ClassicShellTheOwnedWorker", Shell::Classic, Home::OwnedWorker},
    {"NoShellATopLevelWindow", Shell::None, Home::TopLevel},
    {"AShellThatIgnoresTheWorkerRequestATopLevelWindow", Shell::IgnoresTheWorkerRequest, Home::TopLevel},
    {"Windows11_24H2ProgmanBelowTheIcons", Shell::Win11_24H2, Home::ProgmanBelowTheIcons},
};

class WallpaperIn : public Wallpaper, public ::testing::WithParamInterface<ShellHome> {};

TEST_P(WallpaperIn, ThePlayerIsBornInItsHomeOfTheScreensSizeAndStopRemovesIt) {
  const ShellHome& c = GetParam();
  std::optional<ShellStandin> shell;
  if (c.shell != Shell::None) {
    shell.emplace(ShellStandinOptions{.layout = c.shell == Shell::Win11_24H2 ? ShellLayout::Win11_24H2
                                                                             : ShellLayout::Classic,
                                      .ignoreWorkerRequest = c.shell == Shell::IgnoresTheWorkerRequest});
    ASSERT_TRUE(shell->ready());
  }
  HWND player = startedPlayer();
  ASSERT_TRUE(::IsWindow(player));
  switch (c.home) {
    case Home::OwnedWorker:
      ASSERT_NE(shell->worker(), nullptr) << shell->logText();
      EXPECT_EQ(::GetParent(player), shell->worker()) << qova::test::describeWindow(player);
      EXPECT_NE(recordingLog().find("APlayer_Create(" + ShellStandin::hex(shell->worker()) + ",0,0,"),
                std::string::npos)
          << recordingLog();
      break;
    case Home::TopLevel:
      EXPECT_EQ(::GetAncestor(player, GA_PARENT), ::GetDesktopWindow()) << qova::test::describeWindow(player);
      break;
    case Home::ProgmanBelowTheIcons:
      EXPECT_EQ(::GetParent(player), shell->progman()) << qova::test::describeWindow(player);
      EXPECT_EQ(::GetWindow(shell->defView(), GW_HWNDNEXT), player) << "the player must lie directly below the icon view";
      break;
  }
  expectScreenSizedAtOrigin(player);
  EXPECT_EQ(program.isPlaying(), 1);

  const size_t before = shell ? shell->logLineCount() : 0;
  qova::stopWallpaper(program.screens);
  EXPECT_FALSE(::IsWindow(player));
  if (c.home == Home::TopLevel) return;
  const std::string worker = ShellStandin::hex(shell->worker());
  ASSERT_TRUE(shell->waitForLogLine("show " + worker + " 1", std::chrono::seconds(5), before)) << shell->logText();
  std::vector<std::string> lines = shell->logSince(before);
  auto hide = std::find(lines.begin(), lines.end(), "show " + worker + " 0");
  auto show = std::find(lines.begin(), lines.end(), "show " + worker + " 1");
  EXPECT_TRUE(hide != lines.end() && show != lines.end() && hide < show) << shell->logText();
}

INSTANTIATE_TEST_SUITE_P(Shells, WallpaperIn, ::testing::ValuesIn(kShellHomes),
                         [](const ::testing::TestParamInfo<ShellHome>& row) { return std::string(row.param.name); });

// Without a shell, the panel is sent to the bottom when it is shown; the player goes below it again.
TEST_F(Wallpaper, WithoutAShellThePlayerCoversNoWindowAndStaysBelowThePanel) {
  HWND player = startedPlayer();
  ASSERT_TRUE(::IsWindow(player));
  EXPECT_EQ(::GetWindow(player, GW_HWNDNEXT), nullptr) << "a wallpaper that covers other windows";

  HWND panel = ::CreateWindowExA(WS_EX_NOACTIVATE, "STATIC", "panel", WS_POPUP, 0, 0, 216, 164, nullptr,
                                 nullptr, nullptr, nullptr);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(qova::showMainWindowIfWanted(panel));
  qova::keepTopLevelPlayerAtBottom(program.screens);
  EXPECT_TRUE(::IsWindowVisible(panel));
  EXPECT_EQ(::GetWindow(panel, GW_HWNDNEXT), player) << "the panel is not just above the player";
  EXPECT_EQ(::GetWindow(player, GW_HWNDNEXT), nullptr);
  ::DestroyWindow(panel);

  qova::stopWallpaper(program.screens);
  EXPECT_FALSE(::IsWindow(player));
}

TEST_F(Wallpaper, AWallpaperStartedWithoutAShellMovesIntoTheFirstShellsLayer) {
  HWND old = startedPlayer();
  ASSERT_EQ(::GetAncestor(old, GA_PARENT), ::GetDesktopWindow());
  EXPECT_EQ(program.screens.followLayer(), qova::WallpaperScreens::LayerChange::None) << "no shell yet";
  EXPECT_TRUE(::IsWindow(old));

  ShellStandin shell;
  ASSERT_TRUE(shell.ready());
  const size_t before = recordingLog().size();
  EXPECT_EQ(program.screens.followLayer(), qova::WallpaperScreens::LayerChange::Moved);
  EXPECT_FALSE(::IsWindow(old));
  HWND player = program.screens.primary().getWindow();
  EXPECT_EQ(::GetParent(player), shell.worker()) << qova::test::describeWindow(player);
  expectScreenSizedAtOrigin(player);
  const std::string handle = std::to_string(program.screens.primary().handle());
  EXPECT_NE(recordingLog().substr(before).find("APlayer_OpenA(" + handle + "," + qova::programFile("player_video.mp4")),
            std::string::npos)
      << "the same file plays on";
  EXPECT_EQ(program.screens.followLayer(), qova::WallpaperScreens::LayerChange::None);
  qova::stopWallpaper(program.screens);
}

// Whether a player window has this rectangle in its parent's client coordinates.
bool placedAt(HWND window, RECT wanted) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return ::EqualRect(&rect, &wanted);
}

void fireEngineEvent(HWND player, int32_t code) {
  ::SendMessageA(player, ::RegisterWindowMessageA(kRecordingFireMessage), static_cast<WPARAM>(code), 0);
}

TEST_F(Wallpaper, EveryMonitorHasAPlayerInTheLayerAndTheyMoveWithTheMonitors) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready());
  HWND primary = startedPlayer();
  HWND worker = shell.worker();
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  const std::string video = qova::programFile("player_video.mp4");

  // A second monitor to the right: the primary's player stays as it is, the new one opens the same file.
  size_t before = recordingLog().size();
  qova::WallpaperScreens& screens = program.screens;
  screens.layOut({{{0, 0, width, height}, true}, {{width, 0, width + 800, 600}, false}});
  ASSERT_EQ(screens.count(), 2u);
  EXPECT_EQ(screens.at(0).getWindow(), primary) << recordingLog();
  HWND second = screens.at(1).getWindow();
  EXPECT_EQ(::GetParent(second), worker);
  EXPECT_TRUE(placedAt(second, {width, 0, width + 800, 600}));
  EXPECT_TRUE(placedAt(primary, {0, 0, width, height}));
  const std::string secondHandle = std::to_string(screens.at(1).handle());
  const std::string primaryHandle = std::to_string(screens.at(0).handle());
  std::string calls = recordingLog().substr(before);
  EXPECT_NE(calls.find("APlayer_SetConfigA(" + secondHandle + ",2,1)"), std::string::npos) << calls;
  EXPECT_NE(calls.find("APlayer_OpenA(" + secondHandle + "," + video + ")"), std::string::npos) << calls;
  EXPECT_EQ(calls.find("APlayer_OpenA(" + primaryHandle), std::string::npos) << "the primary restarted: " << calls;

  // The end of the other monitor's file changes nothing; the primary's moves both on.
  before = recordingLog().size();
  fireEngineEvent(second, kAPlayerEventFileEnded);
  EXPECT_EQ(recordingLog().find("APlayer_OpenA(", before), std::string::npos) << recordingLog().substr(before);
  fireEngineEvent(primary, kAPlayerEventFileEnded);
  calls = recordingLog().substr(before);
  EXPECT_NE(calls.find("APlayer_OpenA(" + secondHandle + "," + video + ")"), std::string::npos) << calls;
  EXPECT_NE(calls.find("APlayer_OpenA(" + primaryHandle + "," + video + ")"), std::string::npos) << calls;

  // Its monitor hidden, the other player pauses alone and stays paused
  // through the next file; shown again, it plays.
  before = recordingLog().size();
  screens.apply(screens.policy().setHidden({false, true}));
  fireEngineEvent(primary, kAPlayerEventFileEnded);
  calls = recordingLog().substr(before);
  EXPECT_EQ(calls.find("APlayer_Pause(" + primaryHandle + ")"), std::string::npos) << calls;
  const size_t secondOpened = calls.find("APlayer_OpenA(" + secondHandle);
  ASSERT_NE(secondOpened, std::string::npos) << calls;
  EXPECT_NE(calls.find("APlayer_Pause(" + secondHandle + ")", secondOpened), std::string::npos) << calls;
  before = recordingLog().size();
  screens.apply(screens.policy().setHidden({false, false}));
  calls = recordingLog().substr(before);
  EXPECT_NE(calls.find("APlayer_Play(" + secondHandle + ")"), std::string::npos) << calls;
  EXPECT_EQ(calls.find("APlayer_Play(" + primaryHandle + ")"), std::string::npos) << calls;

  before = recordingLog().size();
  program.togglePlayPause();
  calls = recordingLog().substr(before);
  EXPECT_NE(calls.find("APlayer_Pause(" + secondHandle + ")"), std::string::npos) << calls;
  EXPECT_NE(calls.find("APlayer_Pause(" + primaryHandle + ")"), std::string::npos) << calls;

  // The other monitor moved left of the primary: the layer's origin is now its corner.
  screens.layOut({{{-800, 0, 0, 600}, false}, {{0, 0, width, height}, true}});
  ASSERT_EQ(screens.count(), 2u);
  EXPECT_EQ(screens.at(1).getWindow(), second);
  EXPECT_TRUE(placedAt(primary, {800, 0, 800 + width, height}));
  EXPECT_TRUE(placedAt(second, {0, 0, 800, 600}));

  // Unplugged: its player goes, the primary's plays on where it was.
  screens.layOut({{{0, 0, width, height}, true}});
  EXPECT_EQ(screens.count(), 1u);
  EXPECT_FALSE(::IsWindow(second));
  EXPECT_TRUE(placedAt(primary, {0, 0, width, height}));

  // "Primary monitor only" in the settings: no player for the other monitor.
  qova::writeSetting(qova::kSettingEveryMonitor, "0");
  screens.layOut({{{0, 0, width, height}, true}, {{width, 0, width + 800, 600}, false}});
  EXPECT_EQ(screens.count(), 1u);
  qova::stopWallpaper(program.screens);
  EXPECT_FALSE(::IsWindow(primary));
}

// Runs in the display of two monitors that scripts/test makes (BENCH_MONITORS=2):
// 1280x720, the primary, with 1024x768 to its right.
TEST_F(Wallpaper, OnTwoRealMonitorsEachHasItsPlayerAtItsPlace) {
  ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2) << "run in the display of two monitors (BENCH_MONITORS=2)";
  ShellStandin shell;
  ASSERT_TRUE(shell.ready());
  startedPlayer();
  ASSERT_EQ(program.screens.count(), 2u);
  const RECT places[2] = {{0, 0, 1280, 720}, {1280, 0, 2304, 768}};
  for (std::size_t i = 0; i < 2; ++i) {
    HWND player = program.screens.at(i).getWindow();
    EXPECT_EQ(::GetParent(player), shell.worker());
    EXPECT_TRUE(placedAt(player, places[i])) << qova::test::describeWindow(player);
  }
  qova::stopWallpaper(program.screens);
}

TEST_F(Wallpaper, WhenTheShellRestartsNewPlayersGoOnWithTheSameFileInTheNewLayer) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready());
  // A volume of letters plays at 80 from the start, and so it does in the new players.
  qova::writeSetting(qova::kSettingVolume, "loud");
  HWND old = startedPlayer();
  program.screens.apply(program.screens.policy().setUserPaused(true));
  shell.kill();
  EXPECT_EQ(program.screens.followLayer(), qova::WallpaperScreens::LayerChange::Waiting);
  EXPECT_EQ(program.screens.primary().getWindow(), nullptr) << "a player runs with no layer to show it";

  ASSERT_TRUE(shell.restart()) << shell.logText();
  const size_t before = recordingLog().size();
  EXPECT_EQ(program.screens.followLayer(), qova::WallpaperScreens::LayerChange::Moved);
  HWND player = program.screens.primary().getWindow();
  EXPECT_NE(player, old);
  EXPECT_EQ(::GetParent(player), shell.worker()) << qova::test::describeWindow(player);
  expectScreenSizedAtOrigin(player);
  const std::string handle = std::to_string(program.screens.primary().handle());
  const std::string calls = recordingLog().substr(before);
  EXPECT_NE(calls.find("APlayer_SetVolume(" + handle + ",80)\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("APlayer_OpenA(" + handle + "," + qova::programFile("player_video.mp4") + ")\nAPlayer_Pause(" +
                       handle + ")"),
            std::string::npos)
      << calls;
  EXPECT_EQ(program.screens.followLayer(), qova::WallpaperScreens::LayerChange::None);
  qova::stopWallpaper(program.screens);
}

TEST_F(Wallpaper, StoredVolumeGoesToThePlayerWithEightyForZero) {
  struct Case { const char* stored; int slider; int engine; };
  for (Case c : {Case{nullptr, 100, 100}, Case{"0", 0, 80}, Case{"loud", 0, 80},
                 Case{"35abc", 35, 35}}) {
    SCOPED_TRACE(c.stored ? c.stored : "(absent)");
    ::DeleteFileA(qova::settingsFilePath().c_str());
    if (c.stored) qova::writeSetting(qova::kSettingVolume, c.stored);
    const size_t before = recordingLog().size();
    startedPlayer();
    EXPECT_NE(recordingLog().find("APlayer_SetVolume(", before), std::string::npos);
    EXPECT_NE(recordingLog().find("," + std::to_string(c.engine) + ")\n",
                                  recordingLog().find("APlayer_SetVolume(", before)),
              std::string::npos)
        << recordingLog().substr(before);
    EXPECT_EQ(program.volumeSliderPosition, c.slider);
    qova::stopWallpaper(program.screens);
  }
}

TEST_F(Wallpaper, PlayerEventsFromAnotherThreadArePostedToMainWindow) {
  HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
  program.mainWindow.handle = window;
  std::thread([] { qova::Program::onPlayerEvent(6, 0); }).join();
  MSG message{};
  EXPECT_TRUE(::PeekMessageA(&message, window, qova::kPlayerEventMessage,
                             qova::kPlayerEventMessage, PM_REMOVE));
  EXPECT_EQ(message.wParam, 6u);
  EXPECT_EQ(message.lParam, 0);
  program.mainWindow.handle = nullptr;
  ::DestroyWindow(window);
}

}  // namespace

namespace {

class PlaybackControls : public ::testing::Test {
 protected:
  void SetUp() override {
    qova::VideoLibrary& library = program.library;
    library.videoPaths = {"C:\\v\\1.mp4", "C:\\v\\2.mp4", "C:\\v\\3.mp4"};
    library.thumbnailPaths = {"", "", ""};
    library.videoNames = {"1", "2", "3"};
    library.videoCount = 3;
    mark = recordingLog().size();
  }
  void TearDown() override { ::DeleteFileA(qova::settingsFilePath().c_str()); }
  std::string callsSinceSetUp() const { return recordingLog().substr(mark); }
  std::string opened(const char* file) const {
    return "APlayer_OpenA(" + std::to_string(program.screens.primary().handle()) + ",C:\\v\\" + file + ")\n";
  }
  qova::Program program;
  size_t mark = 0;
};

TEST_F(PlaybackControls, NextAndPreviousWrapAndOpenTheirEntry) {
  program.library.currentIndex = 3;
  program.playNext();
  EXPECT_EQ(program.library.currentIndex, 1);
  program.playPrevious();
  EXPECT_EQ(program.library.currentIndex, 3);
  EXPECT_EQ(callsSinceSetUp(), opened("1.mp4") + opened("3.mp4"));
}

TEST_F(PlaybackControls, AnEntryOpenedWhileTheWallpaperPausesByItselfStaysPausedUntilTheCauseEnds) {
  program.library.currentIndex = 1;
  program.setPauseCause(qova::PauseCause::SessionLocked, true);
  mark = recordingLog().size();
  program.playNext();
  const std::string handle = std::to_string(program.screens.primary().handle());
  EXPECT_EQ(callsSinceSetUp(), opened("2.mp4") + "APlayer_Pause(" + handle + ")\n");
  mark = recordingLog().size();
  program.setPauseCause(qova::PauseCause::SessionLocked, false);
  EXPECT_EQ(callsSinceSetUp(), "APlayer_Play(" + handle + ")\n");
}

TEST_F(PlaybackControls, AListClickOpensThatEntryWhateverPlayedBefore) {
  program.library.currentIndex = 2;
  program.libraryWindowHandlers().itemClicked(0);
  EXPECT_EQ(program.library.currentIndex, 1);
  EXPECT_EQ(callsSinceSetUp(), opened("1.mp4"));
}

TEST_F(PlaybackControls, TheSliderStoresTheVolumeAndLeavesThePlayerAlone) {
  qova::onVolumeChanged(40);
  EXPECT_EQ(qova::readSetting(qova::kSettingVolume, "100"), "40");
  EXPECT_EQ(callsSinceSetUp(), "");
}

TEST_F(PlaybackControls, AnEmptyLibraryOpensNothing) {
  program.library = {};
  program.playNext();
  program.playPrevious();
  program.libraryWindowHandlers().itemClicked(0);
  program.handlePlayerEvent(6, 0);
  EXPECT_EQ(program.library.currentIndex, 0);
  EXPECT_EQ(callsSinceSetUp(), "");
}

}  // namespace

namespace {

class DeletingEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"del_1.mp4", "del_2.mp4", "del_3.mp4"}) {
      paths.push_back(qova::programFile(name));
      qova::writeWholeFile(paths.back(), "video");
    }
    std::string bytes;
    for (size_t i = 0; i < paths.size(); ++i)
      bytes += qova::libraryRecord(paths[i], "t", std::to_string(i + 1));
    qova::writeWholeFile(qova::libraryFilePath(), bytes);
    qova::reloadLibrary(program.library);
    mark = recordingLog().size();
  }
  void TearDown() override {
    ::DeleteFileA(qova::libraryFilePath().c_str());
    for (const auto& path : paths) ::DeleteFileA(path.c_str());
  }
  std::string callsSinceSetUp() const { return recordingLog().substr(mark); }
  std::vector<std::string> paths;
  qova::Program program;
  size_t mark = 0;
};

TEST_F(DeletingEntries, TheDeletedVideoIsNeverOpenedAndThePositionNamesWhatPlays) {
  program.library.currentIndex = 1;
  program.deleteLibraryEntry(1);
  const std::string handle = std::to_string(program.screens.primary().handle());
  EXPECT_EQ(callsSinceSetUp(), "APlayer_OpenA(" + handle + "," + paths[2] + ")\n");
  EXPECT_EQ(program.library.videoCount, 2);
  EXPECT_EQ(program.library.currentIndex, 2);
  EXPECT_EQ(program.library.videoPathAt(2), paths[2]);
  EXPECT_EQ(qova::readWholeFile(qova::libraryFilePath()),
            qova::libraryRecord(paths[0], "t", "1") + qova::libraryRecord(paths[2], "t", "3"));
}

TEST_F(DeletingEntries, DeletingTheOnlyEntryStopsThePicture) {
  program.deleteLibraryEntry(0);
  program.deleteLibraryEntry(0);
  const size_t before = recordingLog().size();
  program.deleteLibraryEntry(0);
  EXPECT_EQ(program.library.videoCount, 0);
  EXPECT_EQ(program.library.currentIndex, 0);
  EXPECT_EQ(recordingLog().substr(before),
            "APlayer_Close(" + std::to_string(program.screens.primary().handle()) + ")\n");
  EXPECT_EQ(qova::readWholeFile(qova::libraryFilePath()), "");
}

}  // namespace

namespace {

// Five videos that exist, and the entries the end of each file opens.
class ChosenOrder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string bytes;
    for (int i = 1; i <= 5; ++i) {
      paths.push_back(qova::programFile("order_" + std::to_string(i) + ".mp4"));
      qova::writeWholeFile(paths.back(), "video");
      bytes += qova::libraryRecord(paths.back(), "t", std::to_string(i));
    }
    qova::writeWholeFile(qova::libraryFilePath(), bytes);
    qova::reloadLibrary(program.library);
  }
  void TearDown() override {
    ::DeleteFileA(qova::libraryFilePath().c_str());
    ::DeleteFileA(qova::settingsFilePath().c_str());
    for (const auto& path : paths) ::DeleteFileA(path.c_str());
  }

  // The 1-based entries opened since `from` in the recording engine's log.
  std::vector<int> entriesOpenedSince(size_t from) const {
    std::vector<int> entries;
    const std::string log = recordingLog();
    for (size_t at = log.find("APlayer_OpenA(", from); at != std::string::npos; at = log.find("APlayer_OpenA(", at + 1)) {
      const std::string call = log.substr(at, log.find('\n', at) - at);
      for (size_t i = 0; i < paths.size(); ++i)
        if (call.size() > paths[i].size() && call.compare(call.size() - paths[i].size() - 1, paths[i].size(), paths[i]) == 0)
          entries.push_back(static_cast<int>(i) + 1);
    }
    return entries;
  }
  void endOfFile() { program.handlePlayerEvent(kAPlayerEventFileEnded, 0); }

  std::vector<std::string> paths;
  qova::Program program;
};

TEST_F(ChosenOrder, ShuffledEachRoundOpensEveryEntryOnceInANewOrder) {
  qova::writeSetting(qova::kSettingPlayOrder, "随机");
  program.playback.order.seed(20261208);
  const size_t mark = recordingLog().size();
  program.library.currentIndex = program.playback.firstPosition();
  program.playback.open(program.library.currentIndex);
  for (int end = 0; end < 9; ++end) endOfFile();

  const std::vector<int> opened = entriesOpenedSince(mark);
  ASSERT_EQ(opened.size(), 10u) << recordingLog().substr(mark);
  const std::vector<int> firstRound(opened.begin(), opened.begin() + 5), secondRound(opened.begin() + 5, opened.end());
  const std::vector<int> libraryOrder{1, 2, 3, 4, 5};
  for (std::vector<int> round : {firstRound, secondRound}) {
    std::sort(round.begin(), round.end());
    EXPECT_EQ(round, libraryOrder) << recordingLog().substr(mark);
  }
  EXPECT_TRUE(firstRound != libraryOrder || secondRound != libraryOrder);
  EXPECT_NE(firstRound, secondRound);
  EXPECT_NE(firstRound.back(), secondRound.front()) << "the same entry twice in a row";

  // Previous walks the round back; "顺序" goes back to the library's order from there.
  program.playPrevious();
  EXPECT_EQ(program.library.currentIndex, opened[8]);
  qova::writeSetting(qova::kSettingPlayOrder, "顺序");
  const int from = program.library.currentIndex;
  endOfFile();
  EXPECT_EQ(program.library.currentIndex, from % 5 + 1);
}

TEST_F(ChosenOrder, WithAMinutePerVideoATenSecondClipPlaysAgainUntilTheMinuteHasPassed) {
  qova::writeSetting(qova::kSettingMinutesPerVideo, "1");
  auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
  program.playback.timePerVideo.setClock([&] { return now; });
  const size_t mark = recordingLog().size();
  program.playListItem(1);
  // The clip ends every 10 seconds: at 10 to 50 it plays again, at 60 the next comes.
  for (int end = 0; end < 6; ++end) {
    now += std::chrono::seconds(10);
    endOfFile();
  }
  EXPECT_EQ(entriesOpenedSince(mark), (std::vector<int>{2, 2, 2, 2, 2, 2, 3}));
  // The next entry's minute runs from its own beginning.
  now += std::chrono::seconds(10);
  endOfFile();
  EXPECT_EQ(entriesOpenedSince(mark).back(), 3);

  // Turned off while it plays: the next end moves on.
  qova::writeSetting(qova::kSettingMinutesPerVideo, "0");
  now += std::chrono::seconds(10);
  endOfFile();
  EXPECT_EQ(entriesOpenedSince(mark).back(), 4);
}

}  // namespace
