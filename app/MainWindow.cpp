#include "app/MainWindow.h"

#include <string>

#include "app/AppState.h"
#include "app/Hotkeys.h"
#include "app/MainWindowPlacement.h"
#include "desktop/DisplayGeometry.h"
#include "app/PopupWindow.h"
#include "app/Settings.h"
#include "app/Wallpaper.h"
#include "engines/ExuiBinding.h"
#include "app/WindowHandlers.h"
#include "shell/Layouts.h"

namespace qova {
namespace {

// Every message of MainWindow passes here after the window builder saw it.
LRESULT CALLBACK mainWindowDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPlayerEventMessage:
      handlePlayerEvent(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
      return 0;
    case WM_CLOSE:
      exitApplication();
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

HWND createMainWindow() {
  BuildOptions options;
  options.handle = &app().mainWindow;
  options.procedure = mainWindowDefaultProc;
  return buildWindow(mainWindowLayout(mainWindowHandlers()), options);
}

void onMainWindowCreated() {
  HWND window = app().mainWindow;
  makeMainWindowNonActivating(window);
  createPopupWindow();
  dockMainWindow(window);
  startDesktopPreview(window, ::FindWindowA("Progman", nullptr));
  startWallpaper();
  setSliderPosition(controlByName(window, kVolumeSliderName), app().volumeSliderPosition);
  installMainWindowProc(window);
  // A combination another program holds is simply not available; start-up goes on.
  registerHotkey(window, MOD_CONTROL | MOD_ALT, VK_END, onHotkey, kHotkeyExit);
  registerHotkey(window, MOD_CONTROL | MOD_ALT, VK_F10, onHotkey, kHotkeyPlayPause);
  showMainWindowIfWanted(window);
}

void onHideWindowOptionChosen() { writeSetting(kSettingWindowDisplay, "1"); }

}  // namespace qova
