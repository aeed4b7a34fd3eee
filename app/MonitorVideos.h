#pragma once
// The video a monitor beside the primary loops instead of following the
// primary, kept in "To_configure.ini" under a key made from the monitor's
// device identity, so that the choice finds its monitor again after a
// restart, a change of the monitors' order and a time unplugged.
#include <string>
#include <vector>

namespace qova {

// "显示器视频" followed by the identity.
std::string monitorVideoKey(const std::string& identity);

// The video stored for each monitor of `identities` (the players' order); the
// primary's, and those of monitors without identity or choice, empty.
std::vector<std::string> storedMonitorVideos(const std::vector<std::string>& identities);

// The monitor loops `path` from now on; empty text lets it follow the primary again.
void storeMonitorVideo(const std::string& identity, const std::string& path);

}  // namespace qova
