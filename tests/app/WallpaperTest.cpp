// The wallpaper's start and stop inside the desktop-shell stand-in (and with
// no shell at all), with the recording stand-in of the player engine beside
// this test program.
#include "app/Wallpaper.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

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
    return program.player.getWindow();
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

TEST_F(Wallpaper, ThePlayerIsBornInTheOwnedWorkerAndStopRemovesItAndRepaintsTheLayer) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready());
  HWND player = startedPlayer();
  ASSERT_TRUE(::IsWindow(player));
  HWND worker = shell.worker();
  ASSERT_NE(worker, nullptr) << shell.logText();
  EXPECT_EQ(::GetParent(player), worker) << qova::test::describeWindow(player);
  expectScreenSizedAtOrigin(player);
  EXPECT_NE(recordingLog().find("APlayer_Create(" + ShellStandin::hex(worker) + ",0,0,"),
            std::string::npos)
      << recordingLog();
  EXPECT_EQ(program.isPlaying, 1);

  const size_t before = shell.logLineCount();
  qova::stopWallpaper(program.player);
  EXPECT_FALSE(::IsWindow(player));
  ASSERT_TRUE(shell.waitForLogLine("show " + ShellStandin::hex(worker) + " 1", std::chrono::seconds(5), before))
      << shell.logText();
  std::vector<std::string> lines = shell.logSince(before);
  auto hide = std::find(lines.begin(), lines.end(), "show " + ShellStandin::hex(worker) + " 0");
  auto show = std::find(lines.begin(), lines.end(), "show " + ShellStandin::hex(worker) + " 1");
  EXPECT_TRUE(hide != lines.end() && show != lines.end() && hide < show) << shell.logText();
}

TEST_F(Wallpaper, WithoutAShellThePlayerIsATopLevelWindowOfTheScreensSize) {
  HWND player = startedPlayer();
  ASSERT_TRUE(::IsWindow(player));
  EXPECT_EQ(::GetAncestor(player, GA_PARENT), ::GetDesktopWindow());
  expectScreenSizedAtOrigin(player);
  EXPECT_EQ(::GetWindow(player, GW_HWNDNEXT), nullptr) << "a wallpaper that covers other windows";

  // The panel is sent to the bottom when it is shown; the player goes below it again.
  HWND panel = ::CreateWindowExA(WS_EX_NOACTIVATE, "STATIC", "panel", WS_POPUP, 0, 0, 216, 164, nullptr,
                                 nullptr, nullptr, nullptr);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(qova::showMainWindowIfWanted(panel));
  qova::keepTopLevelPlayerAtBottom(program.player);
  EXPECT_TRUE(::IsWindowVisible(panel));
  EXPECT_EQ(::GetWindow(panel, GW_HWNDNEXT), player) << "the panel is not just above the player";
  EXPECT_EQ(::GetWindow(player, GW_HWNDNEXT), nullptr);
  ::DestroyWindow(panel);

  qova::stopWallpaper(program.player);
  EXPECT_FALSE(::IsWindow(player));
}

TEST_F(Wallpaper, AShellThatIgnoresTheWorkerRequestGivesParentZero) {
  ShellStandinOptions options;
  options.ignoreWorkerRequest = true;
  ShellStandin shell(options);
  ASSERT_TRUE(shell.ready());
  HWND player = startedPlayer();
  EXPECT_EQ(::GetAncestor(player, GA_PARENT), ::GetDesktopWindow());
  qova::stopWallpaper(program.player);
}

TEST_F(Wallpaper, OnWindows11_24H2ThePlayerLivesInProgmanBelowTheIcons) {
  ShellStandinOptions options;
  options.layout = ShellLayout::Win11_24H2;
  ShellStandin shell(options);
  ASSERT_TRUE(shell.ready());
  HWND player = startedPlayer();
  EXPECT_EQ(::GetParent(player), shell.progman());
  EXPECT_EQ(::GetWindow(shell.defView(), GW_HWNDNEXT), player)
      << "the player must lie directly below the icon view";
  expectScreenSizedAtOrigin(player);

  const size_t before = shell.logLineCount();
  qova::stopWallpaper(program.player);
  EXPECT_FALSE(::IsWindow(player));
  const std::string worker = ShellStandin::hex(shell.worker());
  EXPECT_TRUE(shell.waitForLogLine("show " + worker + " 1", std::chrono::seconds(5), before));
  EXPECT_TRUE(shell.hasLogLine("show " + worker + " 0"));
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
    qova::stopWallpaper(program.player);
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
    return "APlayer_OpenA(" + std::to_string(program.player.handle()) + ",C:\\v\\" + file + ")\n";
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
  const std::string handle = std::to_string(program.player.handle());
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
            "APlayer_Close(" + std::to_string(program.player.handle()) + ")\n");
  EXPECT_EQ(qova::readWholeFile(qova::libraryFilePath()), "");
}

}  // namespace
