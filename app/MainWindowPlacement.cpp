#include "app/MainWindowPlacement.h"

#include "app/Settings.h"
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

// The primary monitor's work area: the screen less the taskbar (and other
// docked bars), wherever they are; the whole screen when it cannot be read.
RECT primaryWorkArea() {
  RECT area{};
  if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) == FALSE || ::IsRectEmpty(&area) != FALSE)
    area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  return area;
}

}  // namespace

void makeMainWindowNonActivating(HWND mainWindow) {
  ::SetWindowLongPtrA(mainWindow, GWL_EXSTYLE, WS_EX_NOACTIVATE);
}

DockedPosition dockMainWindow(HWND mainWindow) {
  setHeight(mainWindow, scaledFor(mainWindow, kMainWindowCollapsedHeight));
  DockedPosition docked;
  redockMainWindow(mainWindow, docked);
  return docked;
}

void redockMainWindow(HWND mainWindow, DockedPosition& docked) {
  const RECT area = primaryWorkArea();
  const RECT r = windowRect(mainWindow);
  docked = {static_cast<int>(area.right - (r.right - r.left)), static_cast<int>(area.bottom)};
  setLeftTop(mainWindow, docked.left, docked.bottom - (r.bottom - r.top));
}

bool showMainWindowIfWanted(HWND mainWindow) {
  if (!mainWindowShownAtStartup()) return false;
  showMainWindow(mainWindow);
  return true;
}

void showMainWindow(HWND mainWindow) {
  ::ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
  ::SetWindowPos(mainWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void bringMainWindowForward(HWND mainWindow) {
  ::SetWindowPos(mainWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void openSettingsView(HWND window, DockedPosition& docked) {
  setHeight(window, scaledFor(window, kMainWindowExpandedHeight));
  redockMainWindow(window, docked);
}

void keepCollapsedHeight(HWND window, const DockedPosition& docked) {
  const RECT r = windowRect(window);
  const int collapsedHeight = scaledFor(window, kMainWindowCollapsedHeight);
  if (r.bottom - r.top >= collapsedHeight) return;
  setHeight(window, collapsedHeight);
  const RECT collapsed = windowRect(window);
  setTop(window, docked.bottom - (collapsed.bottom - collapsed.top));
}

void pinLeftEdgeAndWidth(HWND window, const DockedPosition& docked) {
  const RECT r = windowRect(window);
  const int width = scaledFor(window, kMainWindowWidth);
  if (r.left != docked.left || r.right - r.left != width)
    ::SetWindowPos(window, nullptr, docked.left, r.top, width, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace qova
