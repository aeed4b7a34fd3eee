#include "app/MonitorVideos.h"

#include "app/Settings.h"

namespace qova {

std::string monitorVideoKey(const std::string& identity) { return "显示器视频" + identity; }

std::vector<std::string> storedMonitorVideos(const std::vector<std::string>& identities) {
  std::vector<std::string> videos(identities.size());
  for (std::size_t i = 1; i < identities.size(); ++i)
    if (!identities[i].empty()) videos[i] = readSetting(monitorVideoKey(identities[i]).c_str(), "");
  return videos;
}

void storeMonitorVideo(const std::string& identity, const std::string& path) {
  if (identity.empty()) return;
  if (path.empty()) removeSetting(monitorVideoKey(identity).c_str());
  else writeSetting(monitorVideoKey(identity).c_str(), path);
}

}  // namespace qova
