#pragma once
// The popup window of a skinned menu: shown at a point, driven by the mouse
// (the window holds the capture) and by the keyboard (a message hook of the
// thread turns key presses into the menu's own message), closed by a choice,
// Escape, a click outside or the application losing activation.
#include <windows.h>

#include "outside/exui/Menu.h"

namespace qova::exui {

// PopUp_MenuEx: see the contract. The chosen item's id (modal), 1 (shown,
// not modal) or 0.
int32_t popUpMenu(const Menu& menu, int x, int y, HWND owner, bool modal);
// Closes the open menu, if any, without a choice.
void closeOpenMenu();
// The open menu's window; null when none is open.
HWND openMenuWindow();
// The screen rectangle of `item` in the open menu `menu`; false when it is not showing.
bool openMenuItemRect(int32_t menu, int32_t item, RECT* rect);
// Forgets the window class (the library is being unloaded).
void unregisterMenuWindowClass();

}  // namespace qova::exui
