#include "app/MainWindowPlacement.h"

#include "app/AppState.h"
#include "shell/Layouts.h"
#include "app/Settings.h"
#include "app/Wallpaper.h"
#include "desktop/DisplayGeometry.h"

namespace qova {
namespace {

RECT windowRect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

void setHeight(HWND window, int height) {
  const RECT r = windowRect(window);
  ::SetWindowPos(window, nullptr, 0, 0, r.right - r.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void setTop(HWND window, int top) {
  const RECT r = windowRect(window);
  ::SetWindowPos(window, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void setLeftTop(HWND window, int left, int top) {
  ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void makeMainWindowNonActivating(HWND mainWindow) {
  ::SetWindowLongPtrA(mainWindow, GWL_EXSTYLE, WS_EX_NOACTIVATE);
}

void dockMainWindow(HWND mainWindow) {
  setHeight(mainWindow, kMainWindowCollapsedHeight);
  RECT r = windowRect(mainWindow);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  setLeftTop(mainWindow, ::GetSystemMetrics(SM_CXSCREEN) - width,
             ::GetSystemMetrics(SM_CYSCREEN) - height - taskbarHeight());
  r = windowRect(mainWindow);
  app().savedLeft = r.left;
  app().savedTop = r.top;
}

void showMainWindowIfWanted(HWND mainWindow) {
  if (!mainWindowShownAtStartup()) return;
  ::ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
  ::SetWindowPos(mainWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  // Without a desktop layer the player is that bottom window; the panel stays just above it.
  keepTopLevelPlayerAtBottom();
}

void openSettingsView() {
  HWND window = app().mainWindow;
  setHeight(window, kMainWindowExpandedHeight);
  setTop(window, ::GetSystemMetrics(SM_CYSCREEN) - kMainWindowCollapsedHeight - taskbarHeight());
  // Two steps whose taskbar terms cancel: the top ends at screen height − 428.
  setTop(window, windowRect(window).top - 264 + taskbarHeight());
}

void onMainWindowSizeChanged() {
  HWND window = app().mainWindow;
  const RECT r = windowRect(window);
  if (r.bottom - r.top >= kMainWindowCollapsedHeight) return;
  setHeight(window, kMainWindowCollapsedHeight);
  setTop(window, app().savedTop);
}

}  // namespace qova
