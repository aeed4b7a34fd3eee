#pragma once
// The monitors of the desktop as the system reports them now.
#include <vector>

#include "desktop/ScreenPlacement.h"

namespace qova {

// Every monitor attached to the desktop, in the system's order; when the
// system reports none, the primary screen's rectangle alone.
std::vector<MonitorArea> listMonitors();

}  // namespace qova
