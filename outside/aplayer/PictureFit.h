#pragma once
// Where a video picture goes inside the window. Platform-free.
#include <cstdint>

namespace qova::aplayer {

struct PictureRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PictureRect&) const = default;
};

// The rectangle of a client area `clientWidth` x `clientHeight` that shows a
// picture whose shape on screen is `pictureWidth` x `pictureHeight`: the
// whole area when `keepAspect` is false, else the largest centred rectangle
// of the picture's shape (black bands fill the rest). Empty when either size is not positive.
constexpr PictureRect fitPicture(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight,
                                 bool keepAspect) {
  if (clientWidth <= 0 || clientHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
  if (!keepAspect) return {0, 0, clientWidth, clientHeight};
  const int64_t widthAtFullHeight = int64_t{clientHeight} * pictureWidth / pictureHeight;
  if (widthAtFullHeight <= clientWidth) {
    const int width = widthAtFullHeight > 0 ? static_cast<int>(widthAtFullHeight) : 1;
    return {(clientWidth - width) / 2, 0, width, clientHeight};
  }
  const int64_t heightAtFullWidth = int64_t{clientWidth} * pictureHeight / pictureWidth;
  const int height = heightAtFullWidth > 0 ? static_cast<int>(heightAtFullWidth) : 1;
  return {0, (clientHeight - height) / 2, clientWidth, height};
}

// The width a picture of `width` stored pixels takes on screen with pixels
// `aspectNumerator`:`aspectDenominator` wide (0:0 for square pixels).
constexpr int displayWidth(int width, int aspectNumerator, int aspectDenominator) {
  if (aspectNumerator <= 0 || aspectDenominator <= 0) return width;
  const int64_t shown = int64_t{width} * aspectNumerator / aspectDenominator;
  return shown > 0 && shown < (int64_t{1} << 20) ? static_cast<int>(shown) : width;
}

}  // namespace qova::aplayer
