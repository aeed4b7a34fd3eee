#pragma once
// Anti-aliased rounded rectangles, circles and strokes drawn straight into a
// 32-bit pixel surface (the back buffer of a control). Platform-free.
#include <cstdint>

namespace qova::exui {

// Pixels 0x??RRGGBB, rows top to bottom; `stride` in pixels. The alpha byte
// is neither read nor kept meaningful: surfaces are opaque.
struct Surface {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// A rectangle in fractional pixels; pixel (x, y) covers x..x+1, y..y+1.
struct Area {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// Straight-alpha colour 0xAARRGGBB blended over the surface inside the area,
// with corners of `radius` (a circle when the radius is half the side).
void fillRounded(Surface& surface, Area area, double radius, uint32_t argb);
// A ring `thickness` wide along the inside of the area's rounded outline.
void strokeRounded(Surface& surface, Area area, double radius, double thickness, uint32_t argb);
// A solid triangle with corners a, b, c (anti-aliased edges).
void fillTriangle(Surface& surface, double ax, double ay, double bx, double by, double cx, double cy,
                  uint32_t argb);
// A line `thickness` wide from (ax, ay) to (bx, by) with round ends.
void strokeLine(Surface& surface, double ax, double ay, double bx, double by, double thickness, uint32_t argb);

// Premultiplied 0xAARRGGBB pixels (width x height, rows top to bottom)
// blended over the surface with their top-left at (x, y), clipped to it.
void blendImage(Surface& surface, int x, int y, const uint32_t* pixels, int width, int height);

// The pixel at (x, y) with `argb` blended over it at `coverage` (0..1).
uint32_t blendPixel(uint32_t pixel, uint32_t argb, double coverage);

}  // namespace qova::exui
