#include "app/MainWindowPlacement.h"

#include "app/Settings.h"
#include "desktop/DisplayGeometry.h"
#include "shell/Layouts.h"

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

DockedPosition dockMainWindow(HWND mainWindow) {
  setHeight(mainWindow, scaledFor(mainWindow, kMainWindowCollapsedHeight));
  RECT r = windowRect(mainWindow);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  setLeftTop(mainWindow, ::GetSystemMetrics(SM_CXSCREEN) - width,
             ::GetSystemMetrics(SM_CYSCREEN) - height - taskbarHeight());
  r = windowRect(mainWindow);
  return {r.left, r.top};
}

bool showMainWindowIfWanted(HWND mainWindow) {
  if (!mainWindowShownAtStartup()) return false;
  ::ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
  ::SetWindowPos(mainWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

void openSettingsView(HWND window) {
  setHeight(window, scaledFor(window, kMainWindowExpandedHeight));
  setTop(window, ::GetSystemMetrics(SM_CYSCREEN) - scaledFor(window, kMainWindowCollapsedHeight) - taskbarHeight());
  // Two steps whose taskbar terms cancel: the top ends at screen height − 428 (at 96 DPI).
  setTop(window, windowRect(window).top - scaledFor(window, 264) + taskbarHeight());
}

void keepCollapsedHeight(HWND window, const DockedPosition& docked) {
  const RECT r = windowRect(window);
  const int collapsed = scaledFor(window, kMainWindowCollapsedHeight);
  if (r.bottom - r.top >= collapsed) return;
  setHeight(window, collapsed);
  setTop(window, docked.top);
}

void pinLeftEdgeAndWidth(HWND window, const DockedPosition& docked) {
  const RECT r = windowRect(window);
  const int width = scaledFor(window, kMainWindowWidth);
  if (r.left != docked.left || r.right - r.left != width)
    ::SetWindowPos(window, nullptr, docked.left, r.top, width, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace qova
