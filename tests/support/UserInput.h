#pragma once
// Acting on another program's windows from outside, the way the user and the
// shell do: mouse presses on whatever window lies under a screen point,
// the shell's notifications for a notification-area icon, choices in popup
// menus, and key combinations through the system's input queue.
#include <windows.h>

#include <chrono>
#include <functional>

namespace qova::test {

enum class MouseButton { Left, Right };

// The deepest visible window of `top` (itself or a child) under the screen point; null when the
// point is outside `top`.
HWND windowAtScreenPoint(HWND top, POINT screen);

// Moves over, presses and releases `button` at the screen point on the window of `top` found
// there (posted mouse messages in that window's client coordinates), and puts the cursor there
// so that whatever the click opens shows at that point; false when the point is outside `top`.
bool clickAt(HWND top, POINT screen, MouseButton button = MouseButton::Left);
// The same at a point given in `top`'s client coordinates.
bool clickInClient(HWND top, int x, int y, MouseButton button = MouseButton::Left);

// Posts what the shell sends when the user acts on a notification-area icon:
// `callbackMessage` to `owner` with the icon id in wParam and `event` (514, 517, ...) in lParam.
void postTrayNotification(HWND owner, UINT callbackMessage, UINT iconId, UINT event);

// Opens a standard popup menu (class "#32768") of the process with `open` (false:
// it could not act) and chooses item `index` (0-based) with the keyboard once the
// menu's loop reads keys; false when no menu showed in time. A menu that ends
// unchosen is opened again, four times at most, once the active window has
// stayed the same for a moment: under Wine a change of the active window that
// reaches the program late (the X server's focus events, slow on a busy
// machine) ends a menu that has just shown, before the user could act on it.
// Each failed attempt is written to standard error with how it ended.
// With `tookEffect`, a choice counts only once that holds (within `timeout`): a menu that a
// change of the active window closed just as the key came looks chosen, and is opened again.
bool openAndChooseStandardMenuItem(DWORD processId, const std::function<bool()>& open, int index,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(10),
                                   const std::function<bool()>& tookEffect = {});

// Opens a skinned popup menu (class "ExuiMenuWindow") of the process with `open` and clicks
// item `index` (0-based) of items `itemHeight` high inside a frame of `padding` pixels; true
// once it closed on the click. One that a late loss of activation closed first is opened
// again, as a standard menu is.
bool openAndClickSkinnedMenuItem(DWORD processId, const std::function<bool()>& open, int index, int itemHeight = 22,
                                 int padding = 4, std::chrono::milliseconds timeout = std::chrono::seconds(10),
                                 const std::function<bool()>& tookEffect = {});

// Presses and releases Ctrl+Alt+`key` through the system's input (SendInput).
void pressCtrlAlt(WORD key);

}  // namespace qova::test
