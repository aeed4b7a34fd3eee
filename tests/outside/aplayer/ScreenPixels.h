#pragma once
// What the screen shows where a window is: read back from the screen, so
// that a picture drawn by the renderer (not by GDI) counts too.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace qova::test {

struct ScreenImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom

  // Black outside the image.
  uint32_t at(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height ? pixels[static_cast<size_t>(y * width + x)] : 0;
  }
  // The share (0..1) of pixels inside `area` (client coordinates) for which `test` holds.
  double share(RECT area, const std::function<bool(uint32_t)>& test) const;
  // How many coarse colours (3 bits per channel) cover at least 1 % of the image.
  int distinctColours() const;
  // Mean absolute difference per channel against another image of the same size (0..255).
  double differenceFrom(const ScreenImage& other) const;
};

// The screen's pixels over `window`'s client area; empty when it cannot be read.
ScreenImage captureClientArea(HWND window);

bool isNearlyBlack(uint32_t pixel);
// Strongly red: red high, green and blue low.
bool isRed(uint32_t pixel);
bool isGreen(uint32_t pixel);

// A solid-colour bitmap (caller deletes it); null on failure.
HBITMAP makeSolidBitmap(int width, int height, COLORREF colour);

}  // namespace qova::test
