#pragma once
// Where the wallpaper's players go: one per monitor, the primary's first,
// each at its monitor's rectangle in the coordinates of the window the
// players live in. Platform-free.
#include <vector>

#include "desktop/CoverGeometry.h"

namespace qova {

struct MonitorArea {
  ScreenRect rect;  // screen coordinates; the primary has its top left at (0, 0)
  bool primary = false;
};

// The players' rectangles, the primary monitor's first and the others in the
// order given, relative to (originX, originY): the top left of the window the
// players live in (the virtual screen's, for the desktop layer; 0, 0 for
// top-level players). Only the primary's when `everyMonitor` is false. With no
// monitor marked primary the first counts as the primary; none for no monitors.
std::vector<ScreenRect> playerPlaces(const std::vector<MonitorArea>& monitors, int originX, int originY,
                                     bool everyMonitor);

// The smallest rectangle holding every monitor: the virtual screen.
ScreenRect virtualScreen(const std::vector<MonitorArea>& monitors);

}  // namespace qova
