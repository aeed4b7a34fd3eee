#pragma once
// Pictures as arrays of premultiplied 0xAARRGGBB pixels, and scaling them.
// Platform-free.
#include <cstdint>
#include <vector>

#include "outside/exui/Geometry.h"

namespace qova::exui {

struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // rows top to bottom, premultiplied alpha

  bool empty() const { return width <= 0 || height <= 0; }
};

// Straight-alpha 0xAARRGGBB pixels turned into premultiplied ones, in place.
void premultiply(std::vector<uint32_t>& pixels);

// The picture resampled to width x height: a tent filter as wide as the
// shrink factor, so shrinking averages every source pixel and enlarging is
// bilinear. An empty picture or size gives an empty picture.
PixelImage resample(const PixelImage& source, int width, int height);

// The largest rectangle of the source's aspect ratio inside `box`, centred;
// empty when either is empty.
Box fitInside(int sourceWidth, int sourceHeight, const Box& box);

// Like fitInside, but never larger than the source itself.
Box fitInsideNoLarger(int sourceWidth, int sourceHeight, const Box& box);

}  // namespace qova::exui
