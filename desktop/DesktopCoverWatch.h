#pragma once
// Watches whether the desktop of each monitor can be seen: the visible
// top-level windows of other programs above it together cover the whole
// monitor (one maximized window with the taskbar, a full-screen one, or
// several side by side), or a full-screen application, game or
// presentation runs. Minimized, cloaked and fully transparent windows do
// not cover. The window manager's events (a window shown, hidden, moved,
// minimized, restored, brought to the front) wake it, and a short delay
// gathers a burst of them into one look. Until the system has shown that it
// sends them for other programs' windows (Wine sends only creation and
// focus), a look every half second stands in for them: one walk over the
// top-level windows (see CoverLook.h).
// Lives on a thread with a message loop; the listener is called there.
#include <windows.h>

#include <functional>
#include <vector>

#include "desktop/CoverGeometry.h"
#include "desktop/CoverLook.h"
#include "runtime/UniqueHandle.h"

namespace qova {

class DesktopCoverWatch {
 public:
  // Whether each monitor is hidden, in the order the monitors were given.
  using Listener = std::function<void(const std::vector<bool>& hidden)>;

  // Watches `monitors` (screen coordinates); `listener` hears every change of
  // which of them are hidden, first shortly after the watch starts.
  DesktopCoverWatch(std::vector<ScreenRect> monitors, Listener listener);
  ~DesktopCoverWatch();
  DesktopCoverWatch(const DesktopCoverWatch&) = delete;
  DesktopCoverWatch& operator=(const DesktopCoverWatch&) = delete;

  // The monitors changed (a display change).
  void setMonitors(std::vector<ScreenRect> monitors);
  const std::vector<bool>& hidden() const { return hidden_; }
  // Looks again now (for tests and after a display change); calls the listener when it changed.
  void checkNow();

 private:
  static void CALLBACK onWindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                     DWORD thread, DWORD time);
  static void CALLBACK onDelay(HWND, UINT, UINT_PTR timer, DWORD);
  void checkSoon();

  std::vector<ScreenRect> monitors_;
  CoverLook look_;
  Listener listener_;
  std::vector<bool> hidden_;
  bool reported_ = false;
  UINT_PTR delay_ = 0;
  UINT_PTR regular_ = 0;
  HWINEVENTHOOK systemHook_ = nullptr;
  HWINEVENTHOOK objectHook_ = nullptr;
};

}  // namespace qova
