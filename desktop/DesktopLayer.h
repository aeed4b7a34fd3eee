#pragma once
// Finding the shell's desktop background layer, the place the wallpaper player
// lives in, and making the shell repaint it. Nothing is cached: every call
// looks again, so a restarted shell is picked up by the next call.
#include <windows.h>

namespace qova {

// The first top-level "WorkerW", in Z order, whose parent or owner is the
// shell's desktop window; null when there is none (no shell, or the shell
// ignored the request, or a shell that keeps its worker inside "Progman").
HWND findDesktopWorkerW();

// Where the player window goes. insertAfter is the sibling the player must sit
// directly below (the icon view, when the layer is inside "Progman"); null otherwise.
struct DesktopHost {
  HWND parent = nullptr;
  HWND insertAfter = nullptr;
};

// findDesktopWorkerW() when it finds a worker; otherwise, when "Progman" holds
// a child "WorkerW" (Windows 11 24H2 and later), "Progman" itself with its
// icon view as insertAfter; {} (null parent) when there is no desktop layer.
DesktopHost findDesktopHost();

// Puts `player` (already a child of host.parent) directly below host.insertAfter,
// so the icons stay above the video; does nothing when host.insertAfter is null.
void placeInDesktopHost(HWND player, const DesktopHost& host);

// Hides and then shows the background layer, each time found afresh, so that
// the shell repaints it; does nothing when there is no layer.
void refreshDesktopLayer();

}  // namespace qova
