#pragma once
// Where a video picture goes inside the window, and which part of it shows.
// Platform-free.
#include <cstdint>
#include <optional>
#include <string_view>

namespace qova::aplayer {

struct PictureRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PictureRect&) const = default;
};

// How a picture of another shape than the window's is scaled into it.
enum class PictureScaling : int32_t {
  Fit = 0,      // the whole picture, as large as fits, aspect kept; black bands fill the rest
  Fill = 1,     // the whole window, aspect kept; the excess is cut equally on both sides
  Stretch = 2,  // the whole picture over the whole window, aspect lost
};

// The part of the picture that shows (`source`, in the picture's own units)
// and where it lands in the window (`target`, client coordinates).
struct PicturePlacement {
  PictureRect source;
  PictureRect target;
  bool operator==(const PicturePlacement&) const = default;
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

// The part of a picture of `pictureWidth` x `pictureHeight` that covers a
// client area of the given size with the aspect kept: the largest centred
// rectangle of the client's shape inside the picture. Empty when either size is not positive.
constexpr PictureRect coverCrop(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight) {
  // The crop is the picture fitted by the client's shape, the roles swapped.
  return fitPicture(pictureWidth, pictureHeight, clientWidth, clientHeight, true);
}

// The placement of a picture of `pictureWidth` x `pictureHeight` (its shape
// on screen) in a client area of the given size; all empty when either size is not positive.
constexpr PicturePlacement placePicture(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight,
                                        PictureScaling scaling) {
  if (clientWidth <= 0 || clientHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
  const PictureRect wholePicture{0, 0, pictureWidth, pictureHeight};
  const PictureRect wholeClient{0, 0, clientWidth, clientHeight};
  switch (scaling) {
    case PictureScaling::Fill:
      return {coverCrop(clientWidth, clientHeight, pictureWidth, pictureHeight), wholeClient};
    case PictureScaling::Stretch:
      return {wholePicture, wholeClient};
    case PictureScaling::Fit:
      break;
  }
  return {wholePicture, fitPicture(clientWidth, clientHeight, pictureWidth, pictureHeight, true)};
}

// `columns` of a picture `shownWidth` wide on screen, in the columns of its
// `storedWidth` stored pixels (they differ for pixels that are not square).
constexpr PictureRect storedColumns(PictureRect columns, int shownWidth, int storedWidth) {
  if (shownWidth <= 0 || shownWidth == storedWidth) return columns;
  const int left = static_cast<int>(int64_t{columns.left} * storedWidth / shownWidth);
  const int right = static_cast<int>(int64_t{columns.left + columns.width} * storedWidth / shownWidth);
  return {left, columns.top, right > left ? right - left : 1, columns.height};
}

// The scaling a configuration value names ("0", "1" or "2"); nothing for any other text.
constexpr std::optional<PictureScaling> parsePictureScaling(std::string_view text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '2') return std::nullopt;
  return static_cast<PictureScaling>(text[0] - '0');
}

constexpr const char* pictureScalingText(PictureScaling scaling) {
  switch (scaling) {
    case PictureScaling::Fill:
      return "1";
    case PictureScaling::Stretch:
      return "2";
    case PictureScaling::Fit:
      break;
  }
  return "0";
}

}  // namespace qova::aplayer
