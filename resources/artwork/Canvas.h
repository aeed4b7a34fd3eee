#pragma once
// Pictures with transparency, painted through coverage masks. A mask is drawn
// with the component library's anti-aliased shapes (white on black), then the
// picture takes a colour through it, so every edge is smooth and every
// picture keeps real alpha. Platform-free.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "outside/exui/Shapes.h"

namespace qova::artwork {

// Straight-alpha 0xAARRGGBB pixels, rows top to bottom; starts transparent.
struct Picture {
  Picture() = default;
  Picture(int width, int height);

  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;

  uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
};

// How much of each pixel a shape covers, 0 to 255.
class Mask {
 public:
  Mask(int width, int height);

  // Shapes added to the mask (their union).
  Mask& rounded(exui::Area area, double radius);
  Mask& circle(double centreX, double centreY, double radius);
  Mask& ring(double centreX, double centreY, double radius, double thickness);
  Mask& triangle(double ax, double ay, double bx, double by, double cx, double cy);
  Mask& line(double ax, double ay, double bx, double by, double thickness);
  // Keeps only what both masks cover.
  Mask& intersect(const Mask& other);
  // Removes what the other mask covers.
  Mask& subtract(const Mask& other);

  int width() const { return surface_.width; }
  int height() const { return surface_.height; }
  // Coverage of pixel (x, y), 0 to 255; 0 outside.
  uint32_t coverage(int x, int y) const;

 private:
  std::vector<uint32_t> pixels_;
  exui::Surface surface_;
};

// A picture of that size filled with one colour.
Picture filled(int width, int height, uint32_t argb);

// Paints `argb` over the picture wherever the mask covers it (the mask's
// top-left on the picture's top-left).
void paint(Picture& picture, const Mask& mask, uint32_t argb);

// The picture with `over` composed on top of it (both the same size).
void compose(Picture& picture, const Picture& over);

}  // namespace qova::artwork
