#pragma once
// The player in the shell's desktop layer: born there at the screen's size,
// and taken out again with a refresh of the layer, so that the shell repaints
// the static wallpaper.
#include "engines/Player.h"

namespace qova {

// Creates the player inside the desktop layer (or, where there is none, as a
// top-level window of the screen's size at the bottom of the Z order) and
// refreshes the layer. `onEvent` is the engine's handler 2.
void createPlayerInDesktopLayer(Player& player, APlayerHandler onEvent);

// Where no desktop layer exists the player is a top-level window of the
// screen's size: it goes to the bottom of the Z order, below every other
// window (the docked panel included), as a wallpaper does. Nothing for a
// player inside the desktop layer.
void keepTopLevelPlayerAtBottom(const Player& player);

// Destroys the player and makes the shell repaint the static wallpaper.
void stopWallpaper(Player& player);

}  // namespace qova
