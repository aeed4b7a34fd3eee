#include "app/MainWindow.h"

#include <string>

#include "app/AppState.h"
#include "app/Settings.h"
#include "app/Wallpaper.h"

namespace qova {
namespace {

constexpr const char* kMainWindowClass = "QovaMainWindow";

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
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = mainWindowDefaultProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainWindowClass;
  wc.hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  ::RegisterClassExA(&wc);
  HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, kMainWindowClass, "QOVA_壁纸", WS_POPUP | WS_BORDER,
                                  50, 50, kMainWindowWidth, kMainWindowExpandedHeight, nullptr,
                                  nullptr, wc.hInstance, nullptr);
  if (!window) return nullptr;
  app().mainWindow = window;
  onMainWindowCreated();
  return window;
}

void onMainWindowCreated() {
  HWND window = app().mainWindow;
  startWallpaper();
  showMainWindowIfWanted(window);
}

}  // namespace qova
