#pragma once
// Watches whether the desktop of one monitor can be seen: the visible
// top-level windows of other programs above it together cover the whole
// monitor (one maximized window with the taskbar, a full-screen one, or
// several side by side), or a full-screen application, game or
// presentation runs. Minimized, cloaked and fully transparent windows do
// not cover. The window manager's events (a window shown, hidden, moved,
// minimized, restored, brought to the front) wake it, and a short delay
// gathers a burst of them into one look. Until the system has shown that it
// sends them for other programs' windows (Wine sends only creation and
// focus), a look every half second stands in for them: one walk over the
// top-level windows, a few milliseconds under Wine.
// Lives on a thread with a message loop; the listener is called there.
#include <windows.h>

#include <functional>

#include "desktop/CoverGeometry.h"
#include "runtime/UniqueHandle.h"

namespace qova {

class DesktopCoverWatch {
 public:
  using Listener = std::function<void(bool hidden)>;

  // Watches `monitor` (screen coordinates); `listener` hears every change of
  // whether it is hidden, first shortly after the watch starts.
  DesktopCoverWatch(ScreenRect monitor, Listener listener);
  ~DesktopCoverWatch();
  DesktopCoverWatch(const DesktopCoverWatch&) = delete;
  DesktopCoverWatch& operator=(const DesktopCoverWatch&) = delete;

  // The monitor changed place or size (a display change).
  void setMonitor(ScreenRect monitor);
  bool hidden() const { return hidden_; }
  // Looks again now (for tests and after a display change); calls the listener when it changed.
  void checkNow();

 private:
  static void CALLBACK onWindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                     DWORD thread, DWORD time);
  static void CALLBACK onDelay(HWND, UINT, UINT_PTR timer, DWORD);
  void checkSoon();

  ScreenRect monitor_;
  Listener listener_;
  bool hidden_ = false;
  bool reported_ = false;
  UINT_PTR delay_ = 0;
  UINT_PTR regular_ = 0;
  HWINEVENTHOOK systemHook_ = nullptr;
  HWINEVENTHOOK objectHook_ = nullptr;
};

// True when the windows above the desktop of other processes than this one
// cover `monitor`, or a full-screen application runs.
bool desktopHidden(const ScreenRect& monitor);

}  // namespace qova
