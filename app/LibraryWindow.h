#pragma once
// The library window's own behaviour: its notification-area icon, its two
// skinned menus and what the list does on a right-click.
#include <cstdint>

namespace qova {

// The notification-area icon's events: 514 (left button up) shows or hides
// PopupWindow, 517 (right button up) opens its standard menu; others are ignored.
void onTrayEvent(int32_t code);

// The skinned menus' callback: acts on code 650 (an item was chosen) only.
int32_t __cdecl onMenuCommand(int32_t menu, int32_t code, int32_t item, int32_t itemData,
                              int32_t menuNumber, int32_t reserved);

}  // namespace qova
