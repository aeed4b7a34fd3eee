#pragma once
// The library window's own behaviour: its notification-area icon, its two
// skinned menus and what the list does on a right-click.
#include <cstdint>

namespace qova {

// The notification-area icon and the skinned menus, made once PopupWindow exists.
void onPopupWindowCreated();

// The notification-area icon's events: 514 (left button up) shows or hides
// PopupWindow, 517 (right button up) opens its standard menu; others are ignored.
void onTrayEvent(int32_t code);

// An item's right-click opens the item menu ("删除该项") for it.
void onLibraryItemRightClick(int32_t index);
// A right-click on the list opens the application menu, unless it ends an item's right-click.
void onLibraryListRightClick();
// The preview box's right-click: MainWindow's standard menu at the cursor.
void onPreviewRightClick();

// The skinned menus' callback: acts on code 650 (an item was chosen) only.
int32_t __cdecl onMenuCommand(int32_t menu, int32_t code, int32_t item, int32_t itemData,
                              int32_t menuNumber, int32_t reserved);

}  // namespace qova
