#pragma once
// Names of the shell's desktop windows, as Explorer registers them.

namespace qova {

// The shell's desktop window: the static wallpaper at the bottom of the Z order.
inline constexpr char kShellDesktopClass[] = "Progman";
inline constexpr char kShellDesktopTitle[] = "Program Manager";
// The background worker the shell puts between the icons and the wallpaper.
inline constexpr char kDesktopWorkerClass[] = "WorkerW";
// The view that draws the desktop icons.
inline constexpr char kDesktopIconViewClass[] = "SHELLDLL_DefView";

// Undocumented: asks the shell's desktop window to create the background
// worker (see DesktopLayer.cpp).
inline constexpr unsigned kSpawnWorkerMessage = 0x52C;
// How long one request may wait for the shell, in milliseconds.
inline constexpr unsigned kSpawnWorkerTimeoutMs = 1000;

}  // namespace qova
