#include "outside/screenshot/Placeholder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

namespace qova::screenshot {
namespace {

struct Colour {
  uint8_t red, green, blue;
};

constexpr Colour kSymbol{214, 218, 228};
constexpr Colour kSymbolHole{38, 42, 52};
constexpr int kSubsamples = 4;  // per axis, for smooth edges

struct Point {
  double x, y;
};

using Shape = std::function<bool(Point)>;

Shape rectangle(double left, double top, double right, double bottom) {
  return [=](Point p) { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; };
}

Shape roundedRectangle(double left, double top, double right, double bottom, double radius) {
  return [=](Point p) {
    if (p.x < left || p.x >= right || p.y < top || p.y >= bottom) return false;
    const double dx = std::max({left + radius - p.x, 0.0, p.x - (right - radius)});
    const double dy = std::max({top + radius - p.y, 0.0, p.y - (bottom - radius)});
    return dx * dx + dy * dy <= radius * radius;
  };
}

// An ellipse with radii rx, ry turned by `degrees`.
Shape ellipse(Point centre, double rx, double ry, double degrees) {
  const double angle = degrees * 3.14159265358979 / 180.0;
  const double c = std::cos(angle), s = std::sin(angle);
  return [=](Point p) {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    const double u = (dx * c + dy * s) / rx, v = (-dx * s + dy * c) / ry;
    return u * u + v * v <= 1.0;
  };
}

// A convex polygon given clockwise on the screen (y down).
Shape convexPolygon(std::initializer_list<Point> corners) {
  std::vector<Point> points(corners);
  return [points](Point p) {
    for (size_t i = 0; i < points.size(); ++i) {
      const Point a = points[i], b = points[(i + 1) % points.size()];
      if ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) < 0) return false;
    }
    return true;
  };
}

// Blends `colour` into every pixel of the box by the share of the pixel the shape covers.
void fill(media::RgbImage& image, int left, int top, int right, int bottom, const Shape& shape, Colour colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.width);
  bottom = std::min(bottom, image.height);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      int covered = 0;
      for (int sy = 0; sy < kSubsamples; ++sy)
        for (int sx = 0; sx < kSubsamples; ++sx)
          covered += shape({x + (sx + 0.5) / kSubsamples, y + (sy + 0.5) / kSubsamples}) ? 1 : 0;
      if (covered == 0) continue;
      const double share = covered / double(kSubsamples * kSubsamples);
      uint8_t* pixel = image.at(x, y);
      const uint8_t bgr[3] = {colour.blue, colour.green, colour.red};
      for (int c = 0; c < 3; ++c)
        pixel[c] = static_cast<uint8_t>(std::lround(pixel[c] + (bgr[c] - pixel[c]) * share));
    }
  }
}

// A dark slate tile, a little lighter at the top.
media::RgbImage darkTile() {
  media::RgbImage image(kPlaceholderWidth, kPlaceholderHeight);
  for (int y = 0; y < image.height; ++y) {
    const int shade = 48 - 20 * y / image.height;
    for (int x = 0; x < image.width; ++x) {
      uint8_t* pixel = image.at(x, y);
      pixel[0] = static_cast<uint8_t>(shade + 10);
      pixel[1] = static_cast<uint8_t>(shade + 4);
      pixel[2] = static_cast<uint8_t>(shade);
    }
  }
  return image;
}

void drawNotes(media::RgbImage& image) {
  // Two note heads with stems joined by a beam, as in a pair of eighth notes.
  const Point leftHead{104, 100}, rightHead{156, 92};
  constexpr double kStem = 5, kStemHeight = 58;
  fill(image, 84, 84, 126, 116, ellipse(leftHead, 15, 10.5, -20), kSymbol);
  fill(image, 136, 76, 178, 108, ellipse(rightHead, 15, 10.5, -20), kSymbol);
  const double leftStem = leftHead.x + 10.5, rightStem = rightHead.x + 10.5;
  fill(image, 110, 30, 122, 100, rectangle(leftStem, leftHead.y - kStemHeight, leftStem + kStem, leftHead.y - 2), kSymbol);
  fill(image, 162, 22, 174, 92, rectangle(rightStem, rightHead.y - kStemHeight, rightStem + kStem, rightHead.y - 2), kSymbol);
  const double leftTop = leftHead.y - kStemHeight, rightTop = rightHead.y - kStemHeight;
  fill(image, 110, 20, 174, 58,
       convexPolygon({{leftStem, leftTop}, {rightStem + kStem, rightTop}, {rightStem + kStem, rightTop + 12},
                      {leftStem, leftTop + 12}}),
       kSymbol);
}

void drawFilm(media::RgbImage& image) {
  // A frame of film: a rounded strip with sprocket holes along both edges and
  // a play mark in its picture window.
  constexpr double kLeft = 68, kTop = 34, kRight = 188, kBottom = 110;
  fill(image, 60, 30, 196, 114, roundedRectangle(kLeft, kTop, kRight, kBottom, 6), kSymbol);
  for (double x = kLeft + 7; x + 9 <= kRight - 4; x += 15) {
    fill(image, int(x) - 1, int(kTop) + 2, int(x) + 11, int(kTop) + 13, roundedRectangle(x, kTop + 4, x + 9, kTop + 11, 1.5), kSymbolHole);
    fill(image, int(x) - 1, int(kBottom) - 13, int(x) + 11, int(kBottom) - 2, roundedRectangle(x, kBottom - 11, x + 9, kBottom - 4, 1.5), kSymbolHole);
  }
  fill(image, 74, 46, 182, 98, rectangle(kLeft + 8, kTop + 15, kRight - 8, kBottom - 15), kSymbolHole);
  fill(image, 112, 54, 148, 90, convexPolygon({{119, 57}, {143, 72}, {119, 87}}), kSymbol);
}

}  // namespace

media::RgbImage drawPlaceholder(PlaceholderKind kind) {
  media::RgbImage image = darkTile();
  if (kind == PlaceholderKind::Audio) drawNotes(image);
  else drawFilm(image);
  return image;
}

}  // namespace qova::screenshot
