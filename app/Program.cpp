#include "app/Program.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "app/AddVideo.h"
#include "app/CursorPosition.h"
#include "app/LibraryNotices.h"
#include "app/LibraryWindow.h"
#include "app/MonitorVideos.h"
#include "app/PathsFromOutside.h"
#include "app/Playback.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "app/StartWithWindows.h"
#include "app/Wallpaper.h"
#include "desktop/DesktopLayer.h"
#include "engines/ExuiBinding.h"
#include "library/LibraryFile.h"
#include "app/StartReport.h"
#include "runtime/CrashReport.h"
#include "runtime/DiagnosticLog.h"
#include "library/MissingVideos.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

// The key in "To_configure.ini" that can turn a cause off.
const char* settingOf(PauseCause cause) {
  switch (cause) {
    case PauseCause::DesktopHidden:
      return kSettingPauseWhenHidden;
    case PauseCause::SessionLocked:
      return kSettingPauseWhenLocked;
    case PauseCause::DisplayOff:
      return kSettingPauseWhenDisplayOff;
    case PauseCause::BatterySaver:
      return kSettingPauseOnBatterySaver;
  }
  return kSettingPauseWhenHidden;
}

// How the log names a cause.
const char* nameOf(PauseCause cause) {
  switch (cause) {
    case PauseCause::DesktopHidden:
      return "the desktop is hidden";
    case PauseCause::SessionLocked:
      return "the session is locked";
    case PauseCause::DisplayOff:
      return "the displays are off";
    case PauseCause::BatterySaver:
      return "battery saver is on";
  }
  return "?";
}

// The engine's event callback and the skinned menus' callback carry nothing
// but numbers: they reach the running program through this.
Program* gProgram = nullptr;

// What the notification-area icon says when no entry of the library plays.
constexpr const char* kNothingPlaysTitle = "视频无法播放";
constexpr const char* kNothingPlaysText =
    "视频库里的视频都无法播放，壁纸已停下。添加或删除视频、点击列表里的视频，或按上一首、下一首、播放键，都会再试一次。";

// "显示器 2 (1024x768)": what the monitors' menu calls each monitor, in the players' order.
std::vector<std::string> monitorCaptions(const std::vector<ScreenRect>& monitors) {
  std::vector<std::string> captions;
  for (std::size_t i = 0; i < monitors.size(); ++i)
    captions.push_back("显示器 " + std::to_string(i + 1) + " (" + std::to_string(monitors[i].right - monitors[i].left) +
                       "x" + std::to_string(monitors[i].bottom - monitors[i].top) + ")");
  return captions;
}

// What the notification-area icon says at the start after a crash.
constexpr const char* kLastRunCrashedTitle = "程序上次意外结束";
constexpr const char* kLastRunCrashedText = "QOVA 壁纸上次意外结束了。报告保存在：";

// The test suite's way to end the program by an unhandled exception once it
// has started (this variable set to "1"); no user sets it.
constexpr const char* kCrashSeamVariable = "QOVA_TEST_CRASH_AFTER_START";

DWORD WINAPI crashForTest(void*) {
  ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  return 0;
}

std::string logFolder() { return programFile("logs"); }

// Shows these skin bytes (the contents of a ".ex" file) on MainWindow's play button.
void setPlayButtonSkin(HWND mainWindow, const std::string& skinBytes) {
  setButtonImages(controlByName(mainWindow, kPlayButtonName),
                  {reinterpret_cast<const uint8_t*>(skinBytes.data()), skinBytes.size()});
}

}  // namespace

Program::Program() : playback(screens, library, mainWindow, [this] { tellNothingPlays(); }) {
  gProgram = this;
  screens.countOwnVideosWhen([this](const std::string& path) {
    return std::find(library.videoPaths.begin(), library.videoPaths.end(), path) != library.videoPaths.end();
  });
}

Program::~Program() {
  if (gProgram == this) gProgram = nullptr;
}

int Program::run() {
  if (!start() && !ended_) return 1;
  MSG message{};
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

bool Program::start() {
  BuildOptions options;
  options.handle = &mainWindow.handle;
  options.messageHandler = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return mainWindowMessage(window, message, wParam, lParam);
  };
  return buildWindow(mainWindowLayout(mainWindowHandlers()), options) != nullptr;
}

void Program::onMainWindowCreated() {
  HWND window = mainWindow.handle;
  makeMainWindowNonActivating(window);
  createLibraryWindow(libraryWindow.handle, libraryWindowHandlers(), libraryWindowMessageHandler());
  docked = dockMainWindow(window);
  preview_ = startDesktopPreview(window, ::FindWindowA("Progman", nullptr));
  if (!startWallpaper()) {
    ended_ = true;
    ::DestroyWindow(window);
    return;
  }
  setSliderPosition(controlByName(window, kVolumeSliderName), volumeSliderPosition);
  leftEdgePinned_ = true;
  const auto onHotkey = [this](HWND, UINT, WPARAM id, LPARAM) -> LRESULT {
    if (id == kHotkeyExit) exitApplication();
    else if (id == kHotkeyPlayPause) togglePlayPause();
    return 0;
  };
  // A combination another program holds is simply not available; start-up goes on.
  hotkeys.registerHotkey(window, MOD_CONTROL | MOD_ALT, VK_END, onHotkey, kHotkeyExit);
  hotkeys.registerHotkey(window, MOD_CONTROL | MOD_ALT, VK_F10, onHotkey, kHotkeyPlayPause);
  // Without a desktop layer the player is the bottom window; the panel stays just above it.
  if (showMainWindowIfWanted(window)) keepTopLevelPlayerAtBottom(screens);
  watchCover();
  systemNotices_.emplace(window);
  layerWatch_.emplace(window, kDesktopLayerMessage);
  layerWatch_->watchLayer(screens.layer());
  logLine("started");
  char seam[4] = {};
  if (::GetEnvironmentVariableA(kCrashSeamVariable, seam, sizeof seam) == 1 && seam[0] == '1') {
    if (HANDLE thread = ::CreateThread(nullptr, 0, &crashForTest, nullptr, 0, nullptr)) ::CloseHandle(thread);
  }
  ::DragAcceptFiles(window, TRUE);
  if (!startPaths_.empty()) addPaths(std::exchange(startPaths_, {}));
}

bool Program::startWallpaper() {
  createPlayerInDesktopLayer(screens, &Program::onPlayerEvent);
  screens.policy().setUserPaused(false);
  logStart(screens);
  screens.setVolume(settingToInteger(readSetting(kSettingVolume, "100")));
  volumeSliderPosition = settingToInteger(readSetting(kSettingVolume, "100"));

  library.videoCount = loadLibrary(library.videoPaths, library.thumbnailPaths, library.videoNames);
  if (library.videoCount == 0) {
    // Paths to start with stand for the question for a first video.
    if (startPaths_.empty()) addVideo();
    else adding.add(std::exchange(startPaths_, {}));
    adding.waitUntilDone();
  }
  if (!libraryHasEntries()) {
    // Nothing to play: the player leaves the desktop layer again, so that the
    // desktop is left as it was.
    stopWallpaper(screens);
    return false;
  }
  refillLibraryList(libraryWindow.handle, library);
  // The monitors' own videos count once the library they come from is known.
  screens.ownVideosChanged();
  library.currentIndex = playback.firstPosition();
  playback.open(library.currentIndex);
  return true;
}

void Program::exitApplication() {
  if (ended_) return;
  ended_ = true;
  announceExit(libraryWindow.handle);
  coverWatch_.reset();
  systemNotices_.reset();
  layerWatch_.reset();
  stopWallpaper(screens);
  ::DestroyWindow(mainWindow.handle);
}

int32_t WINAPI Program::onPlayerEvent(int32_t code, int32_t parameter) {
  Program* program = gProgram;
  if (!program) return 0;
  HWND window = program->mainWindow.handle;
  if (window && ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) {
    ::PostMessageA(window, kPlayerEventMessage, static_cast<WPARAM>(code), static_cast<LPARAM>(parameter));
    return 0;
  }
  program->handlePlayerEvent(code, parameter);
  return 0;
}

void Program::clearDesktopAfterCrash() {
  Program* program = gProgram;
  if (!program) return;
  for (std::size_t i = 0; i < program->screens.count(); ++i) {
    HWND player = program->screens.at(i).getWindow();
    if (!player) continue;
    // Another thread of ours may be the one that is stuck: it is asked without waiting.
    if (::GetWindowThreadProcessId(player, nullptr) == ::GetCurrentThreadId()) ::ShowWindow(player, SW_HIDE);
    else ::ShowWindowAsync(player, SW_HIDE);
  }
  refreshDesktopLayer();
}

void Program::handlePlayerEvent(int32_t code, int32_t parameter) { playback.onPlayerEvent(code, parameter); }

void Program::togglePlayPause() {
  const bool tryAgain = playback.stopped();
  const bool pause = !tryAgain && !screens.policy().userPaused();
  logLine(tryAgain ? "the user asks for playback: a new round" : pause ? "pause cause begins: the user paused"
                                                                       : "pause cause ends: the user resumed");
  setUserPaused(pause);
  if (tryAgain) playback.openAfresh(library.currentIndex);
}

void Program::setUserPaused(bool paused) {
  const PlayingPolicy::Changes changes = screens.policy().setUserPaused(paused);
  // The picture first, then the players.
  setPlayButtonSkin(mainWindow.handle, readWholeFile(programFile(paused ? "skin_bf.ex" : "skin_zt.ex")));
  screens.apply(changes);
}

void Program::setPauseCause(PauseCause cause, bool holds) {
  if (screens.policy().holds(cause) != holds)
    logLine(std::string("pause cause ") + (holds ? "begins: " : "ends: ") + nameOf(cause));
  screens.apply(screens.policy().setCause(cause, holds));
}

void Program::playChosen(int position) {
  // Choosing a video is asking for it to play.
  if (screens.policy().userPaused()) setUserPaused(false);
  playback.openAfresh(position);
}

void Program::playNext() { playChosen(playback.nextPosition()); }

void Program::playPrevious() { playChosen(playback.previousPosition()); }

void Program::playListItem(int item) {
  if (item < 0 || item >= library.videoCount) return;
  library.currentIndex = item + 1;
  playChosen(library.currentIndex);
}

void Program::deleteLibraryEntry(int index) {
  if (index >= library.videoCount) {
    // The items after the entries are those of missing videos, in file order.
    int removed = 0;
    if (tellIfRefused(rewriteLibraryWithoutMissingVideos(removed, index - library.videoCount), LibraryChange::Delete))
      return;
    reloadKeepingPlaying();
    return;
  }
  const int countBefore = library.videoCount;
  const int next = entryToPlayAfterDeleting(library, index);
  const std::string nextPath = library.videoPathAt(next);

  // A file that could not be changed leaves the library and the list as they are.
  if (tellIfRefused(rewriteLibraryWithout(library, index), LibraryChange::Delete)) return;
  reloadLibrary(library);
  refillLibraryList(libraryWindow.handle, library);
  screens.ownVideosChanged();

  if (nextPath.empty()) {
    library.currentIndex = 0;
    if (library.videoCount == 0) playback.close();
    return;
  }
  const bool deleted = library.videoCount == countBefore - 1;
  library.currentIndex = deleted ? positionAfterDeleting(next, index + 1) : next;
  playback.openAfresh(library.currentIndex);
}

void Program::addVideo() {
  const int countBefore = library.videoCount;
  std::vector<std::wstring> several = qova::addVideo(library, libraryWindow.handle);
  if (!several.empty()) adding.add(std::move(several));
  onVideoAdded(countBefore);
}

void Program::onVideoAdded(int countBefore) {
  screens.ownVideosChanged();
  // The new video, appended at the end, is a new chance once nothing played.
  if (playback.stopped() && library.videoCount > countBefore) {
    library.currentIndex = library.videoCount;
    playback.openAfresh(library.currentIndex);
  }
}

void Program::chooseMonitorVideo(int item, int monitor) {
  const std::string path = library.videoPathAt(item + 1);
  const std::vector<std::string>& identities = screens.monitorIdentities();
  if (path.empty() || monitor < 0 || static_cast<std::size_t>(monitor) >= identities.size()) return;
  if (monitor > 0) {
    storeMonitorVideo(identities[static_cast<std::size_t>(monitor)], path);
  } else {
    for (std::size_t i = 1; i < identities.size(); ++i)
      if (screens.policy().ownVideo(i) == path) storeMonitorVideo(identities[i], "");
  }
  screens.ownVideosChanged();
}

void Program::addFolder() {
  std::wstring folder = chooseVideoFolder();
  if (!folder.empty()) adding.add({std::move(folder)});
}

void Program::addPaths(std::vector<std::wstring> paths) {
  if (paths.empty()) return;
  adding.add(std::move(paths));
  openLibraryWindow();
}

void Program::deleteMissingVideos() {
  if (!askToDeleteMissingVideos(libraryWindow.handle, static_cast<int>(missingVideoRecords().size()))) return;
  int removed = 0;
  if (tellIfRefused(rewriteLibraryWithoutMissingVideos(removed), LibraryChange::Delete)) return;
  reloadKeepingPlaying();
  screens.ownVideosChanged();
}

void Program::showMissingEntries() {
  // Asking for each file is cheap; filling the list again is not.
  if (std::all_of(library.videoPaths.begin(), library.videoPaths.end(),
                  [](const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }))
    return;
  reloadKeepingPlaying();
}

void Program::reloadKeepingPlaying() {
  const std::string playing = library.videoPathAt(library.currentIndex);
  reloadLibrary(library);
  refillLibraryList(libraryWindow.handle, library);
  const auto at = std::find(library.videoPaths.begin(), library.videoPaths.end(), playing);
  if (at != library.videoPaths.end()) library.currentIndex = static_cast<int>(at - library.videoPaths.begin()) + 1;
  else library.currentIndex = std::min(library.currentIndex, library.videoCount);
}

void Program::followDesktopLayer() {
  HWND window = mainWindow.handle;
  ::KillTimer(window, kLayerRetryTimer);
  if (!layerWatch_) return;
  switch (screens.followLayer()) {
    case WallpaperScreens::LayerChange::Moved:
      logLine("the shell's desktop layer is back: the players moved into " + describeDesktopLayer(screens));
      refreshDesktopLayer();
      preview_ = startDesktopPreview(window, ::FindWindowA("Progman", nullptr));
      layerWatch_->watchLayer(screens.layer());
      break;
    case WallpaperScreens::LayerChange::Waiting:
      logLine("the shell's desktop layer is gone: waiting for the shell");
      // The shell's return is told by the watch; a look each second stands
      // in for a notice that never came (a shell that is back but has not
      // made its layer yet, an event the system dropped).
      ::SetTimer(window, kLayerRetryTimer, 1000, nullptr);
      break;
    case WallpaperScreens::LayerChange::None:
      break;
  }
}

void Program::watchCover() {
  if (coverWatch_ || readSetting(settingOf(PauseCause::DesktopHidden), "1") == "0") return;
  coverWatch_.emplace(screens.monitorRects(), [this](const std::vector<bool>& hidden) {
    screens.apply(screens.policy().setHidden(hidden));
  });
}

void Program::onSettingChanged(const char* key) {
  const std::string changed = key;
  if (changed == kSettingPictureScaling) {
    screens.rescale();
  } else if (changed == kSettingPresentation) {
    screens.represent();
  } else if (changed == kSettingEveryMonitor) {
    screens.layOut();
    if (coverWatch_) coverWatch_->setMonitors(screens.monitorRects());
  } else if (changed == kSettingPauseWhenHidden) {
    if (readSetting(key, "1") == "0") {
      // Turned off: what the watch saw stops counting with it.
      coverWatch_.reset();
      screens.apply(screens.policy().setHidden(std::vector<bool>(screens.count(), false)));
    } else if (!ended_ && layerWatch_) {
      watchCover();
    }
  } else {
    for (const PauseCause cause : {PauseCause::SessionLocked, PauseCause::DisplayOff, PauseCause::BatterySaver}) {
      if (changed != settingOf(cause)) continue;
      if (readSetting(key, "1") == "0") {
        setPauseCause(cause, false);
      } else if (systemNotices_) {
        // Registering again makes the system tell the displays' and battery
        // saver's present state, so a cause that holds now counts at once.
        systemNotices_.reset();
        systemNotices_.emplace(mainWindow.handle);
      }
    }
  }
  // The order and the time per video are read at each end of a video: they need nothing more.
}

void Program::tellNothingPlays() {
  tray.showBalloon(kNothingPlaysTitle, kNothingPlaysText, NIIF_WARNING, kTrayDefaultTimeout);
}

void Program::onLibraryWindowCreated() {
  settingsPage.hide();
  tray.add(libraryWindow.handle, {}, false, "QOVA_壁纸");
  tray.setEventHandler([this](int32_t code) { onTrayEvent(code); }, true);
  libraryMenus.build(&Program::onMenuCommand);
  ::DragAcceptFiles(libraryWindow.handle, TRUE);
  tellOfLastCrash();
}

void Program::tellOfLastCrash() {
  const std::string report = takeCrashReport(logFolder());
  if (report.empty()) return;
  logLine("the last run ended unexpectedly; the user is told of its report " + report);
  tray.showBalloon(kLastRunCrashedTitle, kLastRunCrashedText + logFolder(), NIIF_WARNING, kTrayDefaultTimeout);
}

void Program::openLogFolder() {
  const std::string folder = logFolder();
  ::CreateDirectoryA(folder.c_str(), nullptr);
  logLine("the log's folder is opened in Explorer");
  ::ShellExecuteA(nullptr, "explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Program::onTrayEvent(int32_t code) {
  if (code == kTrayEventTaskbarCreated) {
    // A restarted shell knows no icons: ours goes back, and the new taskbar may stand elsewhere.
    logLine("the taskbar was made again (the shell restarted): the icon goes back");
    tray.addAgain();
    redock();
  } else if (code == WM_LBUTTONUP) {
    if (!::IsWindowVisible(libraryWindow.handle)) showMissingEntries();
    toggleLibraryWindow(libraryWindow.handle);
  } else if (code == WM_RBUTTONUP) {
    const POINT at = cursorPosition();
    popUpStandardMenu(libraryWindow.handle, at.x, at.y);
  }
}

int32_t __cdecl Program::onMenuCommand(int32_t, int32_t code, int32_t item, int32_t itemData, int32_t menuNumber,
                                       int32_t) {
  if (!gProgram) return 0;
  if (const std::optional<int32_t> monitor = gProgram->libraryMenus.monitorChoice(code, itemData, menuNumber))
    gProgram->chooseMonitorVideo(gProgram->libraryMenus.pendingDeleteIndex(), *monitor);
  else
    gProgram->onMenuChoice(gProgram->libraryMenus.choice(code, item, menuNumber));
  return 0;
}

void Program::onMenuChoice(MenuChoice choice) {
  switch (choice) {
    case MenuChoice::OpenSettings:
      openSettings();
      break;
    case MenuChoice::AddVideo:
      addVideo();
      break;
    case MenuChoice::ExitApplication:
      exitApplication();
      break;
    case MenuChoice::DeleteEntry:
      deleteLibraryEntry(libraryMenus.pendingDeleteIndex());
      break;
    case MenuChoice::SettingsPage:
      settingsPage.show();
      break;
    case MenuChoice::PlayOnMonitor:
      libraryMenus.popUpMonitorMenu(libraryWindow.handle, monitorCaptions(screens.monitorRects()));
      break;
    case MenuChoice::AddFolder:
      addFolder();
      break;
    case MenuChoice::DeleteMissingVideos:
      deleteMissingVideos();
      break;
    case MenuChoice::None:
      break;
  }
}

void Program::openSettings() {
  openSettingsView(mainWindow.handle, docked);
  showStartWithWindowsState(mainWindow.handle);
  // Settings nobody can see are no settings: the panel shows in front for
  // them, even when hidden, still leaving the focus where it is.
  bringMainWindowForward(mainWindow.handle);
}

void Program::choosePanelShown(bool shown) {
  writeSetting(kSettingWindowDisplay, shown ? "0" : "1");
  if (!shown) {
    ::ShowWindow(mainWindow.handle, SW_HIDE);
  } else if (::IsWindowVisible(mainWindow.handle) == FALSE) {
    showMainWindow(mainWindow.handle);
    // Without a desktop layer the player is the bottom window; the panel stays just above it.
    keepTopLevelPlayerAtBottom(screens);
  }
}

void Program::redock() {
  if (mainWindow.handle) redockMainWindow(mainWindow.handle, docked);
}

void Program::openLibraryWindow() {
  createLibraryWindow(libraryWindow.handle, libraryWindowHandlers(), libraryWindowMessageHandler());
  if (!::IsWindowVisible(libraryWindow.handle)) showMissingEntries();
  showLibraryWindow(libraryWindow.handle);
}

void Program::popUpMainWindowMenu() {
  const POINT at = cursorPosition();
  popUpStandardMenu(mainWindow.handle, at.x, at.y);
}

LRESULT Program::mainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (hotkeys.deliver(window, message, wParam, lParam, result)) return result;
  if (playback.deliver(message, wParam)) return 0;
  switch (message) {
    case WM_WINDOWPOSCHANGED:
      if (leftEdgePinned_) pinLeftEdgeAndWidth(window, docked);
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) redock();
      break;
    case WM_DISPLAYCHANGE:
      redock();
      screens.layOut();
      if (coverWatch_) coverWatch_->setMonitors(screens.monitorRects());
      break;
    case WM_DPICHANGED:  // the panel was laid out again at its new size
      redock();
      fitDesktopPreview(window, preview_);
      break;
    case kPlayerEventMessage:
      handlePlayerEvent(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
      return 0;
    case WM_WTSSESSION_CHANGE:
    case WM_POWERBROADCAST:
      if (const std::optional<PauseNotice> notice = pauseNoticeOf(message, wParam, lParam);
          notice && readSetting(settingOf(notice->cause), "1") != "0")
        setPauseCause(notice->cause, notice->holds);
      return message == WM_POWERBROADCAST ? TRUE : 0;
    case kDesktopLayerMessage:
      followDesktopLayer();
      return 0;
    case WM_DROPFILES:
      addPaths(droppedPaths(reinterpret_cast<HDROP>(wParam)));
      return 0;
    case WM_TIMER:
      if (wParam != kLayerRetryTimer) break;
      followDesktopLayer();
      return 0;
    case WM_CLOSE:
      exitApplication();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      break;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

WindowMessageHandler Program::libraryWindowMessageHandler() {
  return [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (tray.deliver(message, lParam)) return 0;
    if (message == WM_KEYDOWN && settingsPage.handleKey(wParam)) return 0;
    if (adding.deliver(message, wParam)) return 0;
    // Shift+F10 or the menu key, wherever the focus is in the window: the application menu.
    if (message == WM_CONTEXTMENU && GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1) {
      libraryMenus.popUpLibraryMenuAt(window, keyboardMenuPoint(window));
      return 0;
    }
    if (message == WM_DROPFILES) {
      addPaths(droppedPaths(reinterpret_cast<HDROP>(wParam)));
      return 0;
    }
    if (message == WM_COPYDATA) {
      std::optional<std::vector<std::wstring>> handed = handedPaths(lParam);
      if (!handed) return FALSE;
      addPaths(std::move(*handed));
      return TRUE;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  };
}

StandardMenuHandlers Program::standardMenuHandlers() {
  return {[this] { openSettings(); }, [this] { addVideo(); },
          [this] { exitApplication(); }, [this] { openLogFolder(); }, [this] { addFolder(); }};
}

MainWindowHandlers Program::mainWindowHandlers() {
  MainWindowHandlers handlers;
  handlers.created = [this] { onMainWindowCreated(); };
  handlers.sizeChanged = [this] { keepCollapsedHeight(mainWindow.handle, docked); };
  handlers.previewMenu = [this] { popUpMainWindowMenu(); };
  handlers.showLibraryWindow = [this] { openLibraryWindow(); };
  handlers.previewThirdAction = [] {};
  handlers.previous = [this] { playPrevious(); };
  handlers.playPause = [this] { togglePlayPause(); };
  handlers.next = [this] { playNext(); };
  handlers.volumeChanged = [](int32_t position) { onVolumeChanged(position); };
  handlers.showWindowChosen = [this] { choosePanelShown(true); };
  handlers.hideWindowChosen = [this] { choosePanelShown(false); };
  handlers.startWithWindowsOn = [this] { chooseStartWithWindows(mainWindow.handle, true); };
  handlers.startWithWindowsOff = [this] { chooseStartWithWindows(mainWindow.handle, false); };
  handlers.menu = standardMenuHandlers();
  return handlers;
}

LibraryWindowHandlers Program::libraryWindowHandlers() {
  LibraryWindowHandlers handlers;
  handlers.created = [this] { onLibraryWindowCreated(); };
  handlers.sizeChanged = [this] {
    fitLibraryList(libraryWindow.handle);
    settingsPage.fit();
  };
  handlers.skinClosed = [this](int32_t flag) { onLibraryWindowSkinClosed(libraryWindow.handle, flag); };
  handlers.itemRightClick = [this](int32_t item) { libraryMenus.popUpItemMenu(libraryWindow.handle, item); };
  handlers.listRightClick = [this] { libraryMenus.popUpLibraryMenu(libraryWindow.handle); };
  handlers.itemClicked = [this](int32_t item) { playListItem(item); };
  handlers.menu = standardMenuHandlers();
  handlers.settings = settingsPage.groups();
  handlers.settingsBack = [this] { settingsPage.hide(); };
  return handlers;
}

}  // namespace qova
