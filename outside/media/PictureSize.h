#pragma once
// The size a decoded picture may have, and the size it takes on screen.
// Platform-free.
#include <cstdint>
#include <string>

namespace qova::media {

// The largest picture played: a frame buffer for it takes 256 MB, and a
// decoder that claims more is taken as broken rather than given up to 4 GB twice.
constexpr int kLargestPictureSide = 8192;
constexpr bool pictureFits(int width, int height) {
  return width > 0 && height > 0 && width <= kLargestPictureSide && height <= kLargestPictureSide;
}
// "the picture is 9000x9000, larger than 8192x8192"
inline std::string pictureTooLarge(int width, int height) {
  const std::string most = std::to_string(kLargestPictureSide);
  return "the picture is " + std::to_string(width) + "x" + std::to_string(height) + ", larger than " + most + "x" +
         most;
}

// The width a picture of `width` stored pixels takes on screen with pixels
// `aspectNumerator`:`aspectDenominator` wide (0:0 for square pixels).
constexpr int displayWidth(int width, int aspectNumerator, int aspectDenominator) {
  if (aspectNumerator <= 0 || aspectDenominator <= 0) return width;
  const int64_t shown = int64_t{width} * aspectNumerator / aspectDenominator;
  return shown > 0 && shown < (int64_t{1} << 20) ? static_cast<int>(shown) : width;
}

}  // namespace qova::media
