#pragma once
// The monitors of the desktop as the system reports them now.
#include <string>
#include <vector>

#include "desktop/ScreenPlacement.h"

namespace qova {

// Every monitor attached to the desktop, in the system's order; when the
// system reports none, the primary screen's rectangle alone.
std::vector<MonitorArea> listMonitors();

// The device identity of the monitor whose rectangle is `rect` (screen
// coordinates): the device interface path of the display, which names the
// monitor and its connection and stays the same across restarts and changes
// of the monitors' order (the output's name, "\\.\DISPLAY2", where the
// system gives no such path). Empty when no monitor has that rectangle.
std::string monitorIdentity(const ScreenRect& rect);

}  // namespace qova
