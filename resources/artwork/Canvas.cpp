#include "resources/artwork/Canvas.h"

#include <algorithm>
#include <cmath>

namespace qova::artwork {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// Straight-alpha "over": `colour` at `alpha` (0..1) on top of `under`.
uint32_t over(uint32_t under, uint32_t colour, double alpha) {
  if (alpha <= 0.0) return under;
  const double underAlpha = (under >> 24) / 255.0;
  const double outAlpha = alpha + underAlpha * (1.0 - alpha);
  if (outAlpha <= 0.0) return 0;
  uint32_t out = static_cast<uint32_t>(std::lround(outAlpha * 255.0)) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const double top = (colour >> shift) & 0xFF;
    const double bottom = (under >> shift) & 0xFF;
    const double value = (top * alpha + bottom * underAlpha * (1.0 - alpha)) / outAlpha;
    out |= static_cast<uint32_t>(std::clamp(std::lround(value), 0L, 255L)) << shift;
  }
  return out;
}

}  // namespace

Picture::Picture(int w, int h)
    : width(std::max(0, w)), height(std::max(0, h)), argb(static_cast<size_t>(width) * height, 0u) {}

Mask::Mask(int width, int height)
    : pixels_(static_cast<size_t>(std::max(0, width)) * std::max(0, height), kBlack) {
  surface_ = {pixels_.data(), std::max(0, width), std::max(0, height), std::max(0, width)};
}

Mask& Mask::rounded(exui::Area area, double radius) {
  exui::fillRounded(surface_, area, radius, kWhite);
  return *this;
}

Mask& Mask::circle(double centreX, double centreY, double radius) {
  return rounded({centreX - radius, centreY - radius, centreX + radius, centreY + radius}, radius);
}

Mask& Mask::ring(double centreX, double centreY, double radius, double thickness) {
  exui::strokeRounded(surface_, {centreX - radius, centreY - radius, centreX + radius, centreY + radius}, radius,
                      thickness, kWhite);
  return *this;
}

Mask& Mask::triangle(double ax, double ay, double bx, double by, double cx, double cy) {
  exui::fillTriangle(surface_, ax, ay, bx, by, cx, cy, kWhite);
  return *this;
}

Mask& Mask::line(double ax, double ay, double bx, double by, double thickness) {
  exui::strokeLine(surface_, ax, ay, bx, by, thickness, kWhite);
  return *this;
}

Mask& Mask::intersect(const Mask& other) {
  for (int y = 0; y < height(); ++y)
    for (int x = 0; x < width(); ++x) {
      const uint32_t kept = coverage(x, y) * other.coverage(x, y) / 255;
      pixels_[static_cast<size_t>(y) * width() + x] = kBlack | kept * 0x010101u;
    }
  return *this;
}

Mask& Mask::subtract(const Mask& other) {
  for (int y = 0; y < height(); ++y)
    for (int x = 0; x < width(); ++x) {
      const uint32_t kept = coverage(x, y) * (255 - other.coverage(x, y)) / 255;
      pixels_[static_cast<size_t>(y) * width() + x] = kBlack | kept * 0x010101u;
    }
  return *this;
}

uint32_t Mask::coverage(int x, int y) const {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return 0;
  return pixels_[static_cast<size_t>(y) * width() + x] & 0xFF;
}

Picture filled(int width, int height, uint32_t argb) {
  Picture picture(width, height);
  std::fill(picture.argb.begin(), picture.argb.end(), argb);
  return picture;
}

void paint(Picture& picture, const Mask& mask, uint32_t argb) {
  const double colourAlpha = (argb >> 24) / 255.0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t cover = mask.coverage(x, y);
      if (cover == 0) continue;
      uint32_t& pixel = picture.argb[static_cast<size_t>(y) * picture.width + x];
      pixel = over(pixel, argb, colourAlpha * cover / 255.0);
    }
}

void compose(Picture& picture, const Picture& top) {
  if (top.width != picture.width || top.height != picture.height) return;
  for (size_t i = 0; i < picture.argb.size(); ++i)
    picture.argb[i] = over(picture.argb[i], top.argb[i], (top.argb[i] >> 24) / 255.0);
}

}  // namespace qova::artwork
