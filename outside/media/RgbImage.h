#pragma once
// A picture in memory as 8-bit B, G, R triples, top row first, rows packed
// (the layout WIC calls 24bppBGR). Platform-free.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qova::media {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 3 bytes

  static constexpr int kBytesPerPixel = 3;

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * kBytesPerPixel) {}

  bool empty() const { return width <= 0 || height <= 0; }
  size_t stride() const { return static_cast<size_t>(width) * kBytesPerPixel; }
  uint8_t* at(int x, int y) { return pixels.data() + y * stride() + static_cast<size_t>(x) * kBytesPerPixel; }
  const uint8_t* at(int x, int y) const {
    return pixels.data() + y * stride() + static_cast<size_t>(x) * kBytesPerPixel;
  }
};

}  // namespace qova::media
