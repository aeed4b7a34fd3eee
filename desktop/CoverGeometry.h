#pragma once
// Whether windows hide an area of the screen: the arithmetic behind pausing
// the wallpaper when nobody can see it. Platform-free.
#include <vector>

namespace qova {

// From (left, top) up to, not including, (right, bottom).
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const ScreenRect&) const = default;
};

// True when the rectangles together cover every pixel of `area` (one
// maximized window, a full-screen one, or several side by side). An empty
// area counts as covered.
bool rectanglesCover(const ScreenRect& area, const std::vector<ScreenRect>& covers);

}  // namespace qova
