#pragma once
// Moving through the library: every change of video goes through
// currentIndex and one request to the player, open, which starts playback.

namespace qova {

// Opens the video of 1-based `position` in the player; nothing when the library has no such entry.
void playEntry(int position);

// The buttons of MainWindow and the list of PopupWindow.
void onNextClicked();
void onPreviousClicked();
// `item` is the 0-based list item; it becomes entry item + 1.
void onLibraryItemClicked(int item);
// Stores the volume slider's new position; the running volume is left as it is.
void onVolumeChanged(int position);

}  // namespace qova
