#include "library/VideoLibrary.h"

namespace qova {

void VideoLibrary::clearLists() {
  videoPaths.clear();
  thumbnailPaths.clear();
  videoNames.clear();
}

std::string VideoLibrary::videoPathAt(int position) const {
  if (position < 1 || static_cast<size_t>(position) > videoPaths.size()) return {};
  return videoPaths[static_cast<size_t>(position) - 1];
}

int nextIndex(VideoLibrary& library) {
  if (library.videoCount <= 0) return library.currentIndex = 0;
  int next = library.currentIndex + 1;
  if (next > library.videoCount || next < 1) next = 1;
  return library.currentIndex = next;
}

int previousIndex(VideoLibrary& library) {
  if (library.videoCount <= 0) return library.currentIndex = 0;
  int previous = library.currentIndex - 1;
  if (previous < 1 || previous > library.videoCount) previous = library.videoCount;
  return library.currentIndex = previous;
}

int entryToPlayAfterDeleting(const VideoLibrary& library, int deletedItem) {
  if (library.videoCount <= 1) return 0;
  const int deleted = deletedItem + 1;
  auto following = [&](int position) { return position >= library.videoCount || position < 1 ? 1 : position + 1; };
  int next = following(library.currentIndex);
  if (next == deleted) next = following(next);
  return next;
}

int positionAfterDeleting(int position, int deletedPosition) {
  return position > deletedPosition ? position - 1 : position;
}

}  // namespace qova
