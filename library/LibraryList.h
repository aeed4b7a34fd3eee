#pragma once
// The list of PopupWindow, rebuilt from the library lists after every change.

namespace qova {

// Rebuilds the library window's list from the thumbnails and names of the
// library; does nothing while the library window does not exist.
void refillLibraryList();

}  // namespace qova
