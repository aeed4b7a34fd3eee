#pragma once
// Rectangles in whole pixels, without <windows.h>.
#include <algorithm>

namespace qova::exui {

// A rectangle from (left, top) up to, not including, (right, bottom).
struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static constexpr Box sized(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool empty() const { return right <= left || bottom <= top; }
  constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  constexpr Box moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  constexpr Box inset(int dx, int dy) const { return {left + dx, top + dy, right - dx, bottom - dy}; }
  constexpr Box intersect(const Box& other) const {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  constexpr bool operator==(const Box&) const = default;
};

// Nine-grid margins of a skin picture: the parts kept at their size.
struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

}  // namespace qova::exui
