#pragma once
// What the log says about the machine at start-up, so that a report from a
// user's machine tells where the program ran: its version, the system's, the
// monitors with their DPI, the desktop layer the players went into, and the
// settings it read.
#include <string>

#include "app/WallpaperScreens.h"

namespace qova {

// Logs the start: the version, Windows', the monitors, the desktop layer and the settings.
void logStart(const WallpaperScreens& screens);

// The window the players live in and the shell's layout it belongs to, for the log.
std::string describeDesktopLayer(const WallpaperScreens& screens);

}  // namespace qova
