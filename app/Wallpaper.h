#pragma once
// The wallpaper's life: its start inside the desktop layer, the advance from
// one library entry to the next, and the orderly stop that puts the static
// desktop back.
#include <cstdint>

#include <windows.h>

namespace qova {

// Creates the player in the desktop layer, sets the stored volume, loads the
// library and opens entry 1. Ends the process (exit code 0) when the library
// holds nothing to play.
void startWallpaper();

// Where no desktop layer exists the player is a top-level window of the
// screen's size: it goes to the bottom of the Z order, below every other
// window (the docked panel included), as a wallpaper does. Nothing for a
// player inside the desktop layer.
void keepTopLevelPlayerAtBottom();

// Destroys the player and makes the shell repaint the static wallpaper.
void stopWallpaper();

// Every exit path: stopWallpaper, the exit routine, exit code 0.
[[noreturn]] void exitApplication();

// The engine's event callback (handler 2). Safe on any thread: calls from a
// thread other than MainWindow's are posted to MainWindow.
int32_t WINAPI onPlayerEvent(int32_t code, int32_t parameter);

// The message MainWindow receives for an event posted by onPlayerEvent (wParam code, lParam parameter).
constexpr UINT kPlayerEventMessage = WM_APP + 1;

// Handles one player event on the window thread: the end of a file opens the next entry.
void handlePlayerEvent(int32_t code, int32_t parameter);

}  // namespace qova
