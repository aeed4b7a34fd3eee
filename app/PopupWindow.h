#pragma once
// PopupWindow: the library window, built hidden at start-up from its layout
// (shell/Layouts.h); shown from the preview box and the notification-area icon.
#include <cstdint>

namespace qova {

// Builds PopupWindow hidden (non-modal, no parent) unless it exists already.
void createPopupWindow();

// Creates PopupWindow if needed, shows it and gives it the focus.
void showPopupWindow();
// The list fills the window below its 30-pixel band.
void onPopupWindowSizeChanged();
// The skin's close button: a flag of 0 hides the window.
void onPopupSkinClosed(int32_t flag);

}  // namespace qova
