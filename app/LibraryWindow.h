#pragma once
// The library window: built hidden at start-up from its layout, shown from
// the preview box and the notification-area icon, with one list item per
// library entry.
#include <windows.h>

#include <cstdint>
#include <string>

#include "library/VideoLibrary.h"
#include "shell/Layouts.h"

namespace qova {

// Builds the window hidden (non-modal, no parent) into `window` unless it
// exists already; `window` is set before the window's own events run.
void createLibraryWindow(HWND& window, const LibraryWindowHandlers& handlers,
                         const WindowMessageHandler& messageHandler);

// Shows the window and gives it the keyboard focus.
void showLibraryWindow(HWND window);
// The icon's left click: shown becomes hidden, hidden becomes shown with the focus.
void toggleLibraryWindow(HWND window);
// Size changed: the list fills the window below its 30-pixel band.
void fitLibraryList(HWND window);
// Where a menu asked for from the keyboard (Shift+F10, the menu key) opens, in screen
// coordinates: just inside the list's top-left corner, or the window's while the list is hidden.
POINT keyboardMenuPoint(HWND window);
// The skin's close button: a flag of 0 hides the window.
void onLibraryWindowSkinClosed(HWND window, int32_t flag);

// The "取消" button of the adding's progress, by its control id.
constexpr int kCancelAddingButtonId = 0x5A01;

// The adding's progress in the window's band, "正在添加 12/80" with "取消";
// a total of 0 shows it starting.
void showAddingProgress(HWND window, int done, int total);
void hideAddingProgress(HWND window);

// Inserts one entry's item before 0-based `position` (missing videos' items stay last).
void insertLibraryListItem(HWND window, int position, const std::string& thumbnailPath, const std::string& name);

// Rebuilds the window's list from the thumbnails and names of the library;
// nothing when the window has no list.
void refillLibraryList(HWND window, const VideoLibrary& library);

}  // namespace qova
