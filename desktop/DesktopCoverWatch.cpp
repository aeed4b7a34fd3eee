#include "desktop/DesktopCoverWatch.h"

#include <algorithm>
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

}  // namespace

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
  std::vector<bool> hidden = look_.desktopsHidden(monitors_);
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
