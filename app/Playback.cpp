#include "app/Playback.h"

#include <string>

#include "app/AppState.h"
#include "app/Settings.h"

namespace qova {

void playEntry(int position) {
  const std::string path = app().library.videoPathAt(position);
  if (!path.empty()) app().player.open(path);
}

void onNextClicked() { playEntry(nextIndex(app().library)); }

void onPreviousClicked() { playEntry(previousIndex(app().library)); }

void onLibraryItemClicked(int item) {
  VideoLibrary& library = app().library;
  if (item < 0 || item >= library.videoCount) return;
  library.currentIndex = item + 1;
  playEntry(library.currentIndex);
}

void onVolumeChanged(int position) { writeSetting(kSettingVolume, std::to_string(position)); }

}  // namespace qova
