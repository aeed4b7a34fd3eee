#include "outside/exui/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace qova::exui {
namespace {

// Signed distance from (x, y) to a rounded box (negative inside).
double roundedBoxDistance(double x, double y, const Area& area, double radius) {
  const double halfWidth = (area.right - area.left) / 2;
  const double halfHeight = (area.bottom - area.top) / 2;
  radius = std::clamp(radius, 0.0, std::min(halfWidth, halfHeight));
  const double qx = std::abs(x - (area.left + halfWidth)) - halfWidth + radius;
  const double qy = std::abs(y - (area.top + halfHeight)) - halfHeight + radius;
  const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double coverageOf(double distance) { return std::clamp(0.5 - distance, 0.0, 1.0); }

// Calls paint(x, y, centreX, centreY) for each pixel of the surface touched by the bounds.
template <typename Paint>
void forPixelsIn(Surface& surface, double left, double top, double right, double bottom, Paint paint) {
  const int x0 = std::max(0, static_cast<int>(std::floor(left)) - 1);
  const int y0 = std::max(0, static_cast<int>(std::floor(top)) - 1);
  const int x1 = std::min(surface.width, static_cast<int>(std::ceil(right)) + 1);
  const int y1 = std::min(surface.height, static_cast<int>(std::ceil(bottom)) + 1);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) paint(surface.pixels[y * surface.stride + x], x + 0.5, y + 0.5);
}

}  // namespace

uint32_t blendPixel(uint32_t pixel, uint32_t argb, double coverage) {
  const double alpha = ((argb >> 24) & 0xFF) / 255.0 * std::clamp(coverage, 0.0, 1.0);
  if (alpha <= 0.0) return pixel;
  uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const double under = (pixel >> shift) & 0xFF;
    const double over = (argb >> shift) & 0xFF;
    out |= static_cast<uint32_t>(std::lround(over * alpha + under * (1.0 - alpha))) << shift;
  }
  return out;
}

void blendImage(Surface& surface, int x, int y, const uint32_t* pixels, int width, int height) {
  if (!pixels) return;
  const int x0 = std::max(0, -x);
  const int y0 = std::max(0, -y);
  const int x1 = std::min(width, surface.width - x);
  const int y1 = std::min(height, surface.height - y);
  for (int row = y0; row < y1; ++row) {
    const uint32_t* source = pixels + static_cast<std::ptrdiff_t>(row) * width;
    uint32_t* target = surface.pixels + static_cast<std::ptrdiff_t>(row + y) * surface.stride + x;
    for (int column = x0; column < x1; ++column) {
      const uint32_t over = source[column];
      const uint32_t alpha = over >> 24;
      if (alpha == 0) continue;
      if (alpha == 255) {
        target[column] = over;
        continue;
      }
      const uint32_t under = target[column];
      uint32_t out = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t value = ((over >> shift) & 0xFF) + (((under >> shift) & 0xFF) * (255 - alpha) + 127) / 255;
        out |= std::min<uint32_t>(value, 255) << shift;
      }
      target[column] = out;
    }
  }
}

void fillRounded(Surface& surface, Area area, double radius, uint32_t argb) {
  if (area.right <= area.left || area.bottom <= area.top) return;
  forPixelsIn(surface, area.left, area.top, area.right, area.bottom, [&](uint32_t& pixel, double x, double y) {
    const double coverage = coverageOf(roundedBoxDistance(x, y, area, radius));
    if (coverage > 0.0) pixel = blendPixel(pixel, argb, coverage);
  });
}

void strokeRounded(Surface& surface, Area area, double radius, double thickness, uint32_t argb) {
  if (area.right <= area.left || area.bottom <= area.top || thickness <= 0) return;
  const Area inner{area.left + thickness, area.top + thickness, area.right - thickness, area.bottom - thickness};
  const bool hollow = inner.right > inner.left && inner.bottom > inner.top;
  forPixelsIn(surface, area.left, area.top, area.right, area.bottom, [&](uint32_t& pixel, double x, double y) {
    double coverage = coverageOf(roundedBoxDistance(x, y, area, radius));
    if (hollow) coverage -= coverageOf(roundedBoxDistance(x, y, inner, std::max(0.0, radius - thickness)));
    if (coverage > 0.0) pixel = blendPixel(pixel, argb, coverage);
  });
}

void fillTriangle(Surface& surface, double ax, double ay, double bx, double by, double cx, double cy,
                  uint32_t argb) {
  // Edges walked in one winding, so "inside" is the same side of all three.
  const double winding = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  if (winding == 0.0) return;
  const double sign = winding > 0 ? 1.0 : -1.0;
  auto edgeDistance = [sign](double x0, double y0, double x1, double y1, double x, double y) {
    const double length = std::hypot(x1 - x0, y1 - y0);
    return sign * ((x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)) / length;  // positive inside
  };
  forPixelsIn(surface, std::min({ax, bx, cx}), std::min({ay, by, cy}), std::max({ax, bx, cx}),
              std::max({ay, by, cy}), [&](uint32_t& pixel, double x, double y) {
                const double inside = std::min({edgeDistance(ax, ay, bx, by, x, y), edgeDistance(bx, by, cx, cy, x, y),
                                                edgeDistance(cx, cy, ax, ay, x, y)});
                const double coverage = std::clamp(inside + 0.5, 0.0, 1.0);
                if (coverage > 0.0) pixel = blendPixel(pixel, argb, coverage);
              });
}

void strokeLine(Surface& surface, double ax, double ay, double bx, double by, double thickness, uint32_t argb) {
  const double half = thickness / 2;
  const double dx = bx - ax;
  const double dy = by - ay;
  const double lengthSquared = dx * dx + dy * dy;
  forPixelsIn(surface, std::min(ax, bx) - half, std::min(ay, by) - half, std::max(ax, bx) + half,
              std::max(ay, by) + half, [&](uint32_t& pixel, double x, double y) {
                const double t =
                    lengthSquared > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / lengthSquared, 0.0, 1.0) : 0.0;
                const double distance = std::hypot(x - (ax + t * dx), y - (ay + t * dy)) - half;
                const double coverage = coverageOf(distance);
                if (coverage > 0.0) pixel = blendPixel(pixel, argb, coverage);
              });
}

}  // namespace qova::exui
