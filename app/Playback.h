#pragma once
// Moving through the library: every change of video goes through
// currentIndex and one request to the player, open, which starts playback.
#include "engines/Player.h"
#include "library/VideoLibrary.h"

namespace qova {

// Opens the video of 1-based `position` in the player; nothing when the library has no such entry.
void playEntry(Player& player, const VideoLibrary& library, int position);

// List item `item` (0-based) becomes the current entry (item + 1) and plays;
// nothing for an item the library does not have.
void playListItem(Player& player, VideoLibrary& library, int item);

// Stores the volume slider's new position; the running volume is left as it is.
void onVolumeChanged(int position);

}  // namespace qova
