// The desktop background layer.
//
// Explorer draws the static wallpaper in its desktop window, "Progman" /
// "Program Manager", with the icons in a "SHELLDLL_DefView" above it. The
// undocumented message 0x52C sent to "Progman" makes the shell split the two:
// it creates a worker window of class "WorkerW" between the icons and the
// wallpaper and draws the wallpaper there (once; later requests change
// nothing). A window created as a child of that worker covers the wallpaper
// but not the icons, which is exactly where a moving wallpaper belongs.
//
// Up to Windows 11 23H2 the worker is a top-level popup owned by "Progman",
// lying just behind the top-level "WorkerW" that took over the icon view.
// From 24H2 on, "Progman" keeps both as children ("SHELLDLL_DefView" above,
// "WorkerW" below), no top-level worker exists, and a wallpaper goes inside
// "Progman" between the two.
#include "desktop/DesktopLayer.h"

#include <string>
#include <vector>

#include "desktop/ShellWindowNames.h"
#include "desktop/WindowInfo.h"

namespace qova {
namespace {

HWND findShellDesktop() {
  return ::FindWindowExA(nullptr, nullptr, kShellDesktopClass, kShellDesktopTitle);
}

// FindWindowEx compares class names without regard to case; the shell's
// names are compared exactly here, as for the top-level search.
HWND findChildOfClass(HWND parent, const char* className) {
  if (!parent) return nullptr;
  for (HWND child = ::FindWindowExA(parent, nullptr, nullptr, nullptr); child;
       child = ::FindWindowExA(parent, child, nullptr, nullptr)) {
    if (windowClassName(child) == className) return child;
  }
  return nullptr;
}

// The worker of a shell that keeps it inside "Progman"; null otherwise.
HWND findChildWorker() { return findChildOfClass(findShellDesktop(), kDesktopWorkerClass); }

HWND findLayerToRefresh() {
  if (HWND worker = findDesktopWorkerW()) return worker;
  return findChildWorker();
}

}  // namespace

HWND findDesktopWorkerW() {
  HWND desktop = ::FindWindowA(kShellDesktopClass, kShellDesktopTitle);
  DWORD_PTR ignoredResult = 0;
  ::SendMessageTimeoutA(desktop, kSpawnWorkerMessage, 0, 0, SMTO_NORMAL, kSpawnWorkerTimeoutMs,
                        &ignoredResult);

  std::vector<WindowInfo> windows;
  enumTopLevelWindows(windows);
  for (const WindowInfo& candidate : windows) {
    if (candidate.className != kDesktopWorkerClass) continue;
    // Looked up again for every candidate: the shell may restart meanwhile.
    if (::GetParent(candidate.window) == findShellDesktop()) return candidate.window;
  }
  return nullptr;
}

DesktopHost findDesktopHost() {
  if (HWND worker = findDesktopWorkerW()) return {worker, nullptr};
  HWND desktop = findShellDesktop();
  if (!findChildOfClass(desktop, kDesktopWorkerClass)) return {};
  return {desktop, findChildOfClass(desktop, kDesktopIconViewClass)};
}

void placeInDesktopHost(HWND player, const DesktopHost& host) {
  if (!player || !host.insertAfter) return;
  ::SetWindowPos(player, host.insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void refreshDesktopLayer() {
  ::ShowWindow(findLayerToRefresh(), SW_HIDE);
  ::ShowWindow(findLayerToRefresh(), SW_SHOWNORMAL);
}

}  // namespace qova
