#pragma once
// The list of PopupWindow, rebuilt from the library lists after every change,
// and deleting an entry from it.

namespace qova {

// Rebuilds the library window's list from the thumbnails and names of the
// library; does nothing while the library window does not exist.
void refillLibraryList();

// Deletes the entry of 0-based list item `index` from the file and the list.
// Playback moves on to the entry after the one playing, never to the deleted
// one, and currentIndex names the entry that then plays; deleting the last
// remaining entry stops the picture.
void deleteLibraryEntry(int index);

}  // namespace qova
