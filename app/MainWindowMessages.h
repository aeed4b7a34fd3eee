#pragma once
// Messages and timers of the program's own on MainWindow, whose thread runs
// playback.
#include <windows.h>

namespace qova {

// A player event from another thread (wParam code, lParam parameter).
constexpr UINT kPlayerEventMessage = WM_APP + 1;
// Passes over an entry that cannot be played to the next one (wParam: the
// number of the open it was meant for).
constexpr UINT kPassOverMessage = WM_APP + 2;
// The shell's desktop layer may have gone or come back (desktop/DesktopLayerWatch.h).
constexpr UINT kDesktopLayerMessage = WM_APP + 3;
// Posted right after the engine's open returned (wParam: the number of that
// open): engine events that reach the window thread before it were posted
// for an earlier open.
constexpr UINT kOpenReturnedMessage = WM_APP + 4;

// Runs out when an opened file has not started to play in time.
constexpr UINT_PTR kStartWatchTimer = 0x51A7;
// Looks for the desktop layer again while the shell is back but has no layer yet.
constexpr UINT_PTR kLayerRetryTimer = 0x51A8;

}  // namespace qova
