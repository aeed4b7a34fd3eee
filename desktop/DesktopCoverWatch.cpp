#include "desktop/DesktopCoverWatch.h"

#include <dwmapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace qova {
namespace {

// Long enough to gather a window's burst of events (a maximize sends dozens),
// short enough that the pause follows within a second.
constexpr UINT kGatherMilliseconds = 150;
constexpr UINT kRegularLookMilliseconds = 500;

// Set once the system has told of another program's window moving: it sends
// the events this watch needs, and the regular look can stop.
thread_local bool tLocationEventsCome = false;

// Every live watch of this thread: window events carry no context of their own.
std::vector<DesktopCoverWatch*>& watches() {
  thread_local std::vector<DesktopCoverWatch*> list;
  return list;
}

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

bool isDesktopLayer(HWND window) {
  char name[32] = {};
  ::GetClassNameA(window, name, sizeof name);
  return std::strcmp(name, "Progman") == 0 || std::strcmp(name, "WorkerW") == 0;
}

BOOL CALLBACK collectCover(HWND window, LPARAM param) {
  auto& covers = *reinterpret_cast<std::vector<ScreenRect>*>(param);
  // The cheap questions first: most top-level windows are hidden ones.
  if (!::IsWindowVisible(window) || ::IsIconic(window)) return TRUE;
  RECT rect{};
  if (!::GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return TRUE;
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  // Our own windows (the player itself where it is a top-level window, the panel) hide nothing.
  if (process == ::GetCurrentProcessId() || isDesktopLayer(window) || isCloaked(window) ||
      isFullyTransparent(window))
    return TRUE;
  covers.push_back({rect.left, rect.top, rect.right, rect.bottom});
  return TRUE;
}

bool fullScreenApplicationRuns() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(::SHQueryUserNotificationState(&state))) return false;
  return state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE || state == QUNS_BUSY;
}

}  // namespace

std::vector<bool> desktopsHidden(const std::vector<ScreenRect>& monitors) {
  if (fullScreenApplicationRuns()) return std::vector<bool>(monitors.size(), true);
  std::vector<ScreenRect> covers;
  ::EnumWindows(&collectCover, reinterpret_cast<LPARAM>(&covers));
  std::vector<bool> hidden;
  hidden.reserve(monitors.size());
  for (const ScreenRect& monitor : monitors) hidden.push_back(rectanglesCover(monitor, covers));
  return hidden;
}

bool desktopHidden(const ScreenRect& monitor) { return desktopsHidden({monitor}).front(); }

DesktopCoverWatch::DesktopCoverWatch(std::vector<ScreenRect> monitors, Listener listener)
    : monitors_(std::move(monitors)), listener_(std::move(listener)) {
  watches().push_back(this);
  systemHook_ = ::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_MINIMIZEEND, nullptr, &onWindowEvent, 0, 0,
                                  WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  objectHook_ = ::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_UNCLOAKED, nullptr, &onWindowEvent, 0, 0,
                                  WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  regular_ = ::SetTimer(nullptr, 0, kRegularLookMilliseconds, &onDelay);
  checkSoon();
}

DesktopCoverWatch::~DesktopCoverWatch() {
  if (systemHook_) ::UnhookWinEvent(systemHook_);
  if (objectHook_) ::UnhookWinEvent(objectHook_);
  if (delay_) ::KillTimer(nullptr, delay_);
  if (regular_) ::KillTimer(nullptr, regular_);
  auto& list = watches();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void DesktopCoverWatch::setMonitors(std::vector<ScreenRect> monitors) {
  monitors_ = std::move(monitors);
  checkSoon();
}

void DesktopCoverWatch::checkNow() {
  if (delay_) ::KillTimer(nullptr, std::exchange(delay_, 0));
  std::vector<bool> hidden = desktopsHidden(monitors_);
  if (reported_ && hidden == hidden_) return;
  hidden_ = std::move(hidden);
  reported_ = true;
  if (listener_) listener_(hidden_);
}

void DesktopCoverWatch::checkSoon() {
  if (!delay_) delay_ = ::SetTimer(nullptr, 0, kGatherMilliseconds, &onDelay);
  if (regular_ && tLocationEventsCome) ::KillTimer(nullptr, std::exchange(regular_, 0));
}

void CALLBACK DesktopCoverWatch::onWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD,
                                               DWORD) {
  // Only whole top-level windows matter: not their carets, scroll bars or children.
  if (object != OBJID_WINDOW || !window || ::GetAncestor(window, GA_ROOT) != window) return;
  if (event == EVENT_OBJECT_LOCATIONCHANGE) tLocationEventsCome = true;
  switch (event) {
    case EVENT_SYSTEM_FOREGROUND:
    case EVENT_SYSTEM_MINIMIZESTART:
    case EVENT_SYSTEM_MINIMIZEEND:
    case EVENT_OBJECT_CREATE:
    case EVENT_OBJECT_DESTROY:
    case EVENT_OBJECT_SHOW:
    case EVENT_OBJECT_HIDE:
    case EVENT_OBJECT_LOCATIONCHANGE:
    case EVENT_OBJECT_CLOAKED:
    case EVENT_OBJECT_UNCLOAKED:
      for (DesktopCoverWatch* watch : watches()) watch->checkSoon();
      return;
    default:
      return;
  }
}

void CALLBACK DesktopCoverWatch::onDelay(HWND, UINT, UINT_PTR timer, DWORD) {
  for (DesktopCoverWatch* watch : watches()) {
    if (watch->regular_ == timer && tLocationEventsCome) ::KillTimer(nullptr, std::exchange(watch->regular_, 0));
    if (watch->delay_ == timer || watch->regular_ == timer) return watch->checkNow();
  }
  ::KillTimer(nullptr, timer);
}

}  // namespace qova
