#include "desktop/CoverGeometry.h"

#include <algorithm>

namespace qova {

bool rectanglesCover(const ScreenRect& area, const std::vector<ScreenRect>& covers) {
  if (area.empty()) return true;
  // The area cut into columns at every left and right edge inside it; each
  // column must be covered from top to bottom by the rectangles spanning it.
  std::vector<int> edges{area.left, area.right};
  for (const ScreenRect& r : covers) {
    if (r.empty()) continue;
    if (r.left > area.left && r.left < area.right) edges.push_back(r.left);
    if (r.right > area.left && r.right < area.right) edges.push_back(r.right);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<std::pair<int, int>> spans;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const int left = edges[i];
    const int right = edges[i + 1];
    spans.clear();
    for (const ScreenRect& r : covers)
      if (!r.empty() && r.left <= left && r.right >= right) spans.emplace_back(r.top, r.bottom);
    std::sort(spans.begin(), spans.end());
    int reached = area.top;
    for (const auto& [top, bottom] : spans) {
      if (top > reached) break;
      reached = std::max(reached, bottom);
      if (reached >= area.bottom) break;
    }
    if (reached < area.bottom) return false;
  }
  return true;
}

}  // namespace qova
