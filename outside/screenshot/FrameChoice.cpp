#include "outside/screenshot/FrameChoice.h"

#include <utility>

namespace qova::screenshot {

Brightness measureBrightness(const media::RgbImage& image) {
  if (image.empty()) return {};
  uint64_t lumaSum = 0;
  uint64_t brightPixels = 0;
  const size_t pixelCount = static_cast<size_t>(image.width) * image.height;
  const uint8_t* pixel = image.pixels.data();
  for (size_t i = 0; i < pixelCount; ++i, pixel += media::RgbImage::kBytesPerPixel) {
    // BT.601 luma weights in 8-bit fixed point (B, G, R order).
    const unsigned luma = (29u * pixel[0] + 150u * pixel[1] + 77u * pixel[2]) >> 8;
    lumaSum += luma;
    if (luma >= kBrightLuma) ++brightPixels;
  }
  return {static_cast<double>(lumaSum) / static_cast<double>(pixelCount),
          static_cast<double>(brightPixels) / static_cast<double>(pixelCount)};
}

bool looksBlack(const Brightness& brightness) { return brightness.brightShare < 0.01; }

std::vector<int64_t> framePositions(int64_t duration) {
  if (duration <= 0) return {0};
  if (duration < kTicksPerSecond) return {0, duration / 2};
  std::vector<int64_t> positions;
  for (int percent : {10, 25, 40, 55, 70, 85}) positions.push_back(duration / 100 * percent);
  return positions;
}

bool FramePicker::offer(media::RgbImage frame) {
  if (frame.empty() || satisfied_) return satisfied_;
  const Brightness brightness = measureBrightness(frame);
  if (!looksBlack(brightness)) {
    best_ = std::move(frame);
    satisfied_ = true;
  } else if (brightness.meanLuma > bestLuma_) {
    best_ = std::move(frame);
    bestLuma_ = brightness.meanLuma;
  }
  return satisfied_;
}

}  // namespace qova::screenshot
