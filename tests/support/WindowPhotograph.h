#pragma once
// Photographs of our windows for the eye (docs/ keeps copies): the window
// brought to the top and redrawn, its client area read back from the screen
// once the picture has stopped changing, and saved as a PNG file. Shared by
// the component library's tests and the program's window tests; a program
// using it also compiles tests/outside/exui/TestPictures.cpp.
#include <windows.h>

#include <functional>
#include <string>

#include "tests/outside/exui/TestPictures.h"

namespace qova::test {

// How many coarse colours (3 bits a channel) cover at least 0.2 % of the picture.
int distinctColours(const Pixels& pixels);

// Redraws the window and reads it with `capture` until two readings in a row
// agree: the painting has reached the screen, however slowly the machine got there.
Pixels settledCapture(HWND window, const std::function<Pixels()>& capture);

// The window's client area as the screen shows it, saved to `path` and the
// path printed; a window larger than the screen (at 192 DPI) is shot in
// screen-sized tiles, moved up and left between them, and put back. The
// saved file may be missing (the test says so); the pixels are returned.
Pixels photographWindow(HWND window, const std::string& path);

}  // namespace qova::test
