#pragma once
// One look over the top-level windows: which monitors the windows of other
// programs hide. Minimized, cloaked and fully transparent windows and the
// shell's own desktop windows hide nothing; a full-screen application,
// game or presentation hides every monitor.
//
// A look is mostly waiting for the window manager: under Wine every question
// about another process's window is a round trip to its server (about 50 us
// on a small machine), so a look asks as few as it can, in the order that
// drops a window soonest: hidden and minimized windows after one question,
// and the desktop windows' class, which a window keeps for its whole life,
// once per window rather than at every look.
#include <windows.h>

#include <vector>

#include "desktop/CoverGeometry.h"

namespace qova {

// Looks from one thread: the thread's desktop is asked for once.
class CoverLook {
 public:
  // For each monitor: true when the windows above the desktop of other
  // processes than this one cover it, or a full-screen application runs (the
  // system does not say on which monitor, so it hides them all).
  std::vector<bool> desktopsHidden(const std::vector<ScreenRect>& monitors);

 private:
  // A window of another process whose class this look asked (or took from
  // the last look). Keyed by the window and its thread: a handle the system
  // gives again to another thread's window is asked anew.
  struct KnownWindow {
    HWND window = nullptr;
    DWORD thread = 0;
    bool desktopLayer = false;
    bool seen = false;
  };
  static BOOL CALLBACK collectCover(HWND window, LPARAM look);
  void collect(HWND window);
  bool isDesktopLayer(HWND window, DWORD thread);

  HDESK desktop_ = nullptr;         // this thread's, not to be closed
  std::vector<KnownWindow> known_;  // windows that were candidates in the last look
  std::vector<ScreenRect> covers_;  // this look's
};

// One look with nothing remembered from an earlier one.
std::vector<bool> desktopsHidden(const std::vector<ScreenRect>& monitors);
bool desktopHidden(const ScreenRect& monitor);

}  // namespace qova
