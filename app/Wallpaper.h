#pragma once
// The players in the shell's desktop layer: born there at their monitors'
// rectangles, and taken out again with a refresh of the layer, so that the
// shell repaints the static wallpaper.
#include "app/WallpaperScreens.h"

namespace qova {

// Creates the players inside the desktop layer (or, where there is none, as
// top-level windows at the bottom of the Z order) and refreshes the layer.
// `onEvent` is the primary player's handler 2.
void createPlayerInDesktopLayer(WallpaperScreens& screens, APlayerHandler onEvent);

// Where no desktop layer exists the players are top-level windows of their
// monitors' size: they go to the bottom of the Z order, below every other
// window (the docked panel included), as a wallpaper does. Nothing for
// players inside the desktop layer.
void keepTopLevelPlayerAtBottom(const WallpaperScreens& screens);

// Destroys the players and makes the shell repaint the static wallpaper.
void stopWallpaper(WallpaperScreens& screens);

}  // namespace qova
