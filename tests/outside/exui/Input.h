#pragma once
// Mouse and keyboard input for the controls under test: window messages sent
// straight to a control's window, or real input through SendInput.
#include <windows.h>

#include <initializer_list>

namespace qova::test {

enum class Button { Left, Right };

// WM_MOUSEMOVE at client (x, y).
void movePointer(HWND window, int x, int y);
// Move, press and release at client (x, y).
void click(HWND window, int x, int y, Button button = Button::Left);
void press(HWND window, int x, int y, Button button = Button::Left);
void release(HWND window, int x, int y, Button button = Button::Left);
void doubleClick(HWND window, int x, int y);
// Wheel notches over the window's middle (positive: away from the user).
void turnWheel(HWND window, int notches);
void pressKey(HWND window, UINT key);

// Real input: the cursor moved to the screen point, then a press and release.
void realClick(int screenX, int screenY, Button button = Button::Left);
void realPress(int screenX, int screenY, Button button);
void realRelease(Button button);
void realKey(UINT key);
// Real input of a key combination: the modifiers pressed in order, the key
// pressed and released, the modifiers released in reverse order.
void realChord(std::initializer_list<UINT> modifiers, UINT key);

}  // namespace qova::test
