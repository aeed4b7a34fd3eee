#include "app/Playback.h"

#include <string>

#include "app/Settings.h"

namespace qova {

void playEntry(Player& player, const VideoLibrary& library, int position) {
  const std::string path = library.videoPathAt(position);
  if (!path.empty()) player.open(path);
}

void playListItem(Player& player, VideoLibrary& library, int item) {
  if (item < 0 || item >= library.videoCount) return;
  library.currentIndex = item + 1;
  playEntry(player, library, library.currentIndex);
}

void onVolumeChanged(int position) { writeSetting(kSettingVolume, std::to_string(position)); }

}  // namespace qova
