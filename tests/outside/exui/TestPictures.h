#pragma once
// Picture files made at test time (PNG and JPEG through WIC), the artwork of
// the sample windows, and screenshots of windows saved as PNG.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "outside/exui/ExuiFormat.h"

namespace qova::test {

// Straight-alpha 0xAARRGGBB pixels, rows top to bottom.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
  uint32_t at(int x, int y) const { return argb[static_cast<size_t>(y * width + x)]; }
};

enum class PictureType { Png, Jpeg, Bmp, Gif };

// The pixels encoded as a picture file; empty on failure.
exui::Bytes encodePicture(const Pixels& pixels, PictureType type);
// A diagonal two-colour gradient with a darker frame, width x height.
Pixels gradient(int width, int height, uint32_t from, uint32_t to);
Pixels solid(int width, int height, uint32_t argb);
// GDI drawing (black on white) turned into `colour` with alpha from the ink,
// over `background` (alpha 0 for a transparent picture).
Pixels glyph(int width, int height, uint32_t colour, uint32_t background, const std::function<void(HDC)>& draw);

// The screen's pixels over the window's client area (alpha 255).
Pixels captureClient(HWND window);
// What the screen shows of the rectangle.
Pixels captureScreen(int x, int y, int width, int height);
// Saves the pixels as a PNG file; false on failure.
bool savePng(const Pixels& pixels, const std::string& path);
// Where screenshots go: a folder beside the test program, created when needed.
std::string screenshotPath(const std::string& name);

}  // namespace qova::test
