#pragma once
// The library in memory: three parallel lists in file order, their length and
// the 1-based position of the entry that plays. List items of the library
// window count from 0, so item i is entry i + 1.
#include <string>
#include <vector>

namespace qova {

struct VideoLibrary {
  std::vector<std::string> videoPaths;
  std::vector<std::string> thumbnailPaths;
  std::vector<std::string> videoNames;
  int videoCount = 0;
  int currentIndex = 0;

  // Empties the three lists; videoCount and currentIndex stay as they are.
  void clearLists();
  // The video path of 1-based `position`; empty text when there is no such entry.
  std::string videoPathAt(int position) const;
};

// currentIndex + 1, wrapping to 1 after videoCount; stored and returned.
// With an empty library the position stays 0.
int nextIndex(VideoLibrary& library);

// currentIndex - 1, wrapping to videoCount below 1; stored and returned.
// With an empty library the position stays 0.
int previousIndex(VideoLibrary& library);

// The entry to play after the list item `deletedItem` is deleted: the one after
// currentIndex, wrapping, and never the deleted one itself; its 1-based position
// before the deletion, 0 when nothing remains to play.
int entryToPlayAfterDeleting(const VideoLibrary& library, int deletedItem);

// Where 1-based `position` stands once the entry at `deletedPosition` is gone.
int positionAfterDeleting(int position, int deletedPosition);

}  // namespace qova
