#include "app/Program.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/AddVideo.h"
#include "app/CursorPosition.h"
#include "app/LibraryNotices.h"
#include "app/LibraryWindow.h"
#include "app/PathsFromOutside.h"
#include "app/Playback.h"
#include "app/Settings.h"
#include "app/StartWithWindows.h"
#include "app/Wallpaper.h"
#include "desktop/DesktopLayer.h"
#include "engines/ExuiBinding.h"
#include "library/LibraryFile.h"
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

// The engine's event callback and the skinned menus' callback carry nothing
// but numbers: they reach the running program through this.
Program* gProgram = nullptr;

// What the notification-area icon says when no entry of the library plays.
constexpr const char* kNothingPlaysTitle = "视频无法播放";
constexpr const char* kNothingPlaysText =
    "视频库里的视频都无法播放，壁纸已停下。添加或删除视频、点击列表里的视频，或按上一首、下一首、播放键，都会再试一次。";

// Shows these skin bytes (the contents of a ".ex" file) on MainWindow's play button.
void setPlayButtonSkin(HWND mainWindow, const std::string& skinBytes) {
  setButtonImages(controlByName(mainWindow, kPlayButtonName),
                  {reinterpret_cast<const uint8_t*>(skinBytes.data()), skinBytes.size()});
}

}  // namespace

Program::Program() : playback(screens, library, mainWindow, [this] { tellNothingPlays(); }) { gProgram = this; }

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
  if (readSetting(settingOf(PauseCause::DesktopHidden), "1") != "0")
    coverWatch_.emplace(screens.monitorRects(), [this](const std::vector<bool>& hidden) {
      // Each monitor's player is judged on its own; the wallpaper as a whole
      // pauses when no monitor shows it.
      screens.setHidden(hidden);
      setPauseCause(PauseCause::DesktopHidden,
                    !hidden.empty() && std::all_of(hidden.begin(), hidden.end(), [](bool each) { return each; }));
    });
  systemNotices_.emplace(window);
  layerWatch_.emplace(window, kDesktopLayerMessage);
  layerWatch_->watchLayer(screens.layer());
  ::DragAcceptFiles(window, TRUE);
  if (!startPaths_.empty()) addPaths(std::exchange(startPaths_, {}));
}

bool Program::startWallpaper() {
  createPlayerInDesktopLayer(screens, &Program::onPlayerEvent);
  isPlaying = 1;
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
  library.currentIndex = 1;
  playback.open(library.currentIndex);
  return true;
}

void Program::exitApplication() {
  if (ended_) return;
  ended_ = true;
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

void Program::handlePlayerEvent(int32_t code, int32_t parameter) { playback.onPlayerEvent(code, parameter); }

void Program::togglePlayPause() {
  const bool tryAgain = playback.stopped();
  isPlaying = tryAgain ? 1 : (1 - isPlaying) & 1;
  setPlayButtonSkin(mainWindow.handle, readWholeFile(programFile(isPlaying == 0 ? "skin_bf.ex" : "skin_zt.ex")));
  if (tryAgain) playback.openAfresh(library.currentIndex);
  else if (isPlaying == 0) screens.pause();
  else if (!autoPause_.paused()) screens.play();
}

void Program::setPauseCause(PauseCause cause, bool holds) {
  if (!autoPause_.set(cause, holds)) return;
  screens.setHeld(autoPause_.paused());
  if (isPlaying == 0) return;  // the user's pause holds either way
  if (autoPause_.paused())
    screens.pause();
  else
    screens.play();
}

void Program::playNext() { playback.openAfresh(nextIndex(library)); }

void Program::playPrevious() { playback.openAfresh(previousIndex(library)); }

void Program::playListItem(int item) {
  if (item < 0 || item >= library.videoCount) return;
  library.currentIndex = item + 1;
  playback.openAfresh(library.currentIndex);
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
  // The new video, appended at the end, is a new chance once nothing played.
  if (playback.stopped() && library.videoCount > countBefore) {
    library.currentIndex = library.videoCount;
    playback.openAfresh(library.currentIndex);
  }
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
      refreshDesktopLayer();
      preview_ = startDesktopPreview(window, ::FindWindowA("Progman", nullptr));
      layerWatch_->watchLayer(screens.layer());
      break;
    case WallpaperScreens::LayerChange::Waiting:
      // The shell's return is told by the watch; a look each second stands
      // in for a notice that never came (a shell that is back but has not
      // made its layer yet, an event the system dropped).
      ::SetTimer(window, kLayerRetryTimer, 1000, nullptr);
      break;
    case WallpaperScreens::LayerChange::None:
      break;
  }
}

void Program::tellNothingPlays() {
  tray.showBalloon(kNothingPlaysTitle, kNothingPlaysText, NIIF_WARNING, kTrayDefaultTimeout);
}

void Program::onLibraryWindowCreated() {
  tray.add(libraryWindow.handle, {}, false, "QOVA_壁纸");
  tray.setEventHandler([this](int32_t code) { onTrayEvent(code); }, true);
  libraryMenus.build(&Program::onMenuCommand);
  ::DragAcceptFiles(libraryWindow.handle, TRUE);
}

void Program::onTrayEvent(int32_t code) {
  if (code == kTrayEventTaskbarCreated) {
    // A restarted shell knows no icons: ours goes back, and the new taskbar may stand elsewhere.
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

int32_t __cdecl Program::onMenuCommand(int32_t, int32_t code, int32_t item, int32_t, int32_t menuNumber,
                                       int32_t) {
  if (gProgram) gProgram->onMenuChoice(gProgram->libraryMenus.choice(code, item, menuNumber));
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
    if (adding.deliver(message, wParam)) return 0;
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
          [this] { exitApplication(); }, [this] { addFolder(); }};
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
  handlers.sizeChanged = [this] { fitLibraryList(libraryWindow.handle); };
  handlers.skinClosed = [this](int32_t flag) { onLibraryWindowSkinClosed(libraryWindow.handle, flag); };
  handlers.itemRightClick = [this](int32_t item) { libraryMenus.popUpItemMenu(libraryWindow.handle, item); };
  handlers.listRightClick = [this] { libraryMenus.popUpLibraryMenu(libraryWindow.handle); };
  handlers.itemClicked = [this](int32_t item) { playListItem(item); };
  handlers.menu = standardMenuHandlers();
  return handlers;
}

}  // namespace qova
