#include "app/MainWindow.h"

#include <string>

#include "app/AppState.h"
#include "app/PopupWindow.h"
#include "app/Settings.h"
#include "app/Wallpaper.h"
#include "engines/ExuiBinding.h"
#include "shell/Layouts.h"
#include "shell/UiHandlers.h"

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

// Start-up stage 8: only the exact text "0" shows the panel.
void showMainWindowIfWanted(HWND window) {
  if (!mainWindowShownAtStartup()) return;
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

HWND createMainWindow() {
  BuildOptions options;
  options.handle = &app().mainWindow;
  options.procedure = mainWindowDefaultProc;
  return buildWindow(mainWindowLayout(), options);
}

void onMainWindowCreated() {
  HWND window = app().mainWindow;
  createPopupWindow();
  startWallpaper();
  setSliderPosition(controlByName(window, kVolumeSliderName), app().volumeSliderPosition);
  showMainWindowIfWanted(window);
}

void onHideWindowOptionChosen() { writeSetting(kSettingWindowDisplay, "1"); }

// The preview box's third action is bound so that it reaches a handler; nothing is meant to happen.
void onPreviewThirdAction() {}

}  // namespace qova
