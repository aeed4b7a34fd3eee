#include "desktop/CoverLook.h"

#include <dwmapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "desktop/ShellWindowNames.h"

namespace qova {
namespace {

// Windows hidden by the window manager (on another virtual desktop, a
// suspended app) are cloaked. Asked only where the system can tell: without
// the Desktop Window Manager no window is cloaked.
bool isCloaked(HWND window) {
  using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
  static const auto getAttribute = [] {
    HMODULE dwm = ::LoadLibraryA("dwmapi.dll");
    return dwm ? reinterpret_cast<GetWindowAttribute>(
                     reinterpret_cast<void*>(::GetProcAddress(dwm, "DwmGetWindowAttribute")))
               : nullptr;
  }();
  DWORD cloaked = 0;
  return getAttribute && SUCCEEDED(getAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

bool isFullyTransparent(HWND window) {
  if (!(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return false;
  BYTE alpha = 255;
  DWORD flags = 0;
  return ::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) && alpha == 0;
}

bool hasDesktopLayerClass(HWND window) {
  char name[32] = {};
  ::GetClassNameA(window, name, sizeof name);
  return std::strcmp(name, kShellDesktopClass) == 0 || std::strcmp(name, kDesktopWorkerClass) == 0;
}

bool fullScreenApplicationRuns() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(::SHQueryUserNotificationState(&state))) return false;
  return state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE || state == QUNS_BUSY;
}

}  // namespace

std::vector<bool> CoverLook::desktopsHidden(const std::vector<ScreenRect>& monitors) {
  if (fullScreenApplicationRuns()) return std::vector<bool>(monitors.size(), true);
  covers_.clear();
  for (KnownWindow& known : known_) known.seen = false;
  // The top-level windows of this thread's desktop, the list EnumWindows
  // walks. Wine's EnumWindows asks its server once more for every window
  // whether it still exists (a window gone meanwhile answers here by having no
  // style), and Wine's EnumDesktopWindows without a desktop lists the
  // message-only windows as well.
  if (!desktop_) desktop_ = ::GetThreadDesktop(::GetCurrentThreadId());
  if (desktop_)
    ::EnumDesktopWindows(desktop_, &CoverLook::collectCover, reinterpret_cast<LPARAM>(this));
  else
    ::EnumWindows(&CoverLook::collectCover, reinterpret_cast<LPARAM>(this));
  std::erase_if(known_, [](const KnownWindow& known) { return !known.seen; });
  std::vector<bool> hidden;
  hidden.reserve(monitors.size());
  for (const ScreenRect& monitor : monitors) hidden.push_back(rectanglesCover(monitor, covers_));
  return hidden;
}

BOOL CALLBACK CoverLook::collectCover(HWND window, LPARAM look) {
  reinterpret_cast<CoverLook*>(look)->collect(window);
  return TRUE;
}

void CoverLook::collect(HWND window) {
  // The style says both whether it is shown and whether it is minimized: a
  // top-level window's only parent, the desktop, is always visible.
  const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE)) return;
  RECT rect{};
  if (!::GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return;
  DWORD process = 0;
  const DWORD thread = ::GetWindowThreadProcessId(window, &process);
  // Our own windows (the player itself where it is a top-level window, the panel) hide nothing.
  if (process == ::GetCurrentProcessId() || isDesktopLayer(window, thread) || isCloaked(window) ||
      isFullyTransparent(window))
    return;
  covers_.push_back({rect.left, rect.top, rect.right, rect.bottom});
}

bool CoverLook::isDesktopLayer(HWND window, DWORD thread) {
  const auto found = std::find_if(known_.begin(), known_.end(), [&](const KnownWindow& known) {
    return known.window == window && known.thread == thread;
  });
  if (found != known_.end()) {
    found->seen = true;
    return found->desktopLayer;
  }
  known_.push_back({window, thread, hasDesktopLayerClass(window), true});
  return known_.back().desktopLayer;
}

std::vector<bool> desktopsHidden(const std::vector<ScreenRect>& monitors) {
  return CoverLook().desktopsHidden(monitors);
}

bool desktopHidden(const ScreenRect& monitor) { return desktopsHidden({monitor}).front(); }

}  // namespace qova
