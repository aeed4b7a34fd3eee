#include "app/Wallpaper.h"

#include "app/AppState.h"
#include "app/Settings.h"
#include "desktop/DesktopLayer.h"
#include "app/AddVideo.h"
#include "app/LibraryList.h"
#include "app/Playback.h"
#include "library/LibraryFile.h"

namespace qova {
namespace {

// Loads the library (asking for a first video when it is empty) and opens
// entry 1; ends the process when there is still nothing to play.
void startLibraryPlayback() {
  VideoLibrary& library = app().library;
  library.videoCount = loadLibrary(library.videoPaths, library.thumbnailPaths, library.videoNames);
  if (library.videoCount == 0) addVideo();
  if (!libraryHasEntries()) {
    // Nothing to play: take the player out of the desktop layer again, so that
    // the desktop is left as it was, and end quietly.
    stopWallpaper();
    endProcess(0);
  }
  refillLibraryList();
  app().player.open(library.videoPathAt(1));
  library.currentIndex = 1;
}

}  // namespace

void startWallpaper() {
  AppState& state = app();
  const DesktopHost host = findDesktopHost();
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  // The player window is born inside the desktop layer and never moved there later.
  state.player.create(host.parent, 0, 0, screenWidth, screenHeight, nullptr, onPlayerEvent);
  if (host.insertAfter) placeInDesktopHost(state.player.getWindow(), host);
  keepTopLevelPlayerAtBottom();
  refreshDesktopLayer();
  state.isPlaying = 1;

  state.player.setVolume(settingToInteger(readSetting(kSettingVolume, "100")));
  state.volumeSliderPosition = settingToInteger(readSetting(kSettingVolume, "100"));

  startLibraryPlayback();
}

void keepTopLevelPlayerAtBottom() {
  HWND player = app().player.getWindow();
  if (!player || ::GetParent(player)) return;
  ::SetWindowPos(player, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void stopWallpaper() {
  app().player.destroy();
  refreshDesktopLayer();
}

void exitApplication() {
  stopWallpaper();
  endProcess(0);
}

int32_t WINAPI onPlayerEvent(int32_t code, int32_t parameter) {
  HWND mainWindow = app().mainWindow;
  if (mainWindow && ::GetWindowThreadProcessId(mainWindow, nullptr) != ::GetCurrentThreadId()) {
    ::PostMessageA(mainWindow, kPlayerEventMessage, static_cast<WPARAM>(code),
                   static_cast<LPARAM>(parameter));
    return 0;
  }
  handlePlayerEvent(code, parameter);
  return 0;
}

void handlePlayerEvent(int32_t code, int32_t parameter) {
  if (code == kAPlayerEventFileEnded && parameter == 0 && app().library.videoCount != 0)
    playEntry(nextIndex(app().library));
}

}  // namespace qova
