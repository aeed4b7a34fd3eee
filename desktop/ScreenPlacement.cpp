#include "desktop/ScreenPlacement.h"

#include <algorithm>

namespace qova {
namespace {

ScreenRect shifted(const ScreenRect& rect, int byX, int byY) {
  return {rect.left - byX, rect.top - byY, rect.right - byX, rect.bottom - byY};
}

}  // namespace

std::vector<ScreenRect> playerPlaces(const std::vector<MonitorArea>& monitors, int originX, int originY,
                                     bool everyMonitor) {
  std::vector<ScreenRect> places;
  if (monitors.empty()) return places;
  const auto primary = std::find_if(monitors.begin(), monitors.end(), [](const MonitorArea& m) { return m.primary; });
  const auto first = primary == monitors.end() ? monitors.begin() : primary;
  places.push_back(shifted(first->rect, originX, originY));
  if (!everyMonitor) return places;
  for (auto monitor = monitors.begin(); monitor != monitors.end(); ++monitor)
    if (monitor != first && !monitor->rect.empty()) places.push_back(shifted(monitor->rect, originX, originY));
  return places;
}

ScreenRect virtualScreen(const std::vector<MonitorArea>& monitors) {
  if (monitors.empty()) return {};
  ScreenRect all = monitors.front().rect;
  for (const MonitorArea& monitor : monitors) {
    all.left = std::min(all.left, monitor.rect.left);
    all.top = std::min(all.top, monitor.rect.top);
    all.right = std::max(all.right, monitor.rect.right);
    all.bottom = std::max(all.bottom, monitor.rect.bottom);
  }
  return all;
}

}  // namespace qova
