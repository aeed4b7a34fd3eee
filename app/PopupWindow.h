#pragma once
// PopupWindow: the library window, built hidden at start-up from its layout
// (shell/Layouts.h); shown from the preview box and the notification-area icon.

namespace qova {

// Builds PopupWindow hidden (non-modal, no parent) unless it exists already.
void createPopupWindow();

}  // namespace qova
