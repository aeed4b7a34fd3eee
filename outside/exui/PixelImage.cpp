#include "outside/exui/PixelImage.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qova::exui {
namespace {

// The source pixels contributing to one target pixel along one axis.
struct Contribution {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Contribution> contributions(int sourceSize, int targetSize) {
  std::vector<Contribution> out(static_cast<size_t>(targetSize));
  const double scale = static_cast<double>(sourceSize) / targetSize;
  const double support = std::max(1.0, scale);
  for (int target = 0; target < targetSize; ++target) {
    const double centre = (target + 0.5) * scale - 0.5;
    const int first = static_cast<int>(std::floor(centre - support)) + 1;
    const int last = static_cast<int>(std::ceil(centre + support)) - 1;
    Contribution& c = out[static_cast<size_t>(target)];
    c.first = std::clamp(first, 0, sourceSize - 1);
    const int end = std::clamp(last, 0, sourceSize - 1);
    double total = 0.0;
    std::vector<double> raw;
    for (int s = c.first; s <= end; ++s) {
      const double w = std::max(0.0, 1.0 - std::abs(s - centre) / support);
      raw.push_back(w);
      total += w;
    }
    if (total <= 0.0) {  // the centre falls outside: take the nearest edge pixel
      c.first = std::clamp(static_cast<int>(std::lround(centre)), 0, sourceSize - 1);
      c.weights = {1.0f};
      continue;
    }
    for (double w : raw) c.weights.push_back(static_cast<float>(w / total));
  }
  return out;
}

using Channels = std::array<float, 4>;

Channels channelsOf(uint32_t pixel) {
  return {static_cast<float>(pixel & 0xFF), static_cast<float>((pixel >> 8) & 0xFF),
          static_cast<float>((pixel >> 16) & 0xFF), static_cast<float>(pixel >> 24)};
}

uint32_t pixelOf(const Channels& c) {
  auto byte = [](float v) { return static_cast<uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
  const uint32_t alpha = byte(c[3]);
  // Premultiplied colour can never exceed its alpha.
  const uint32_t blue = std::min(byte(c[0]), alpha);
  const uint32_t green = std::min(byte(c[1]), alpha);
  const uint32_t red = std::min(byte(c[2]), alpha);
  return blue | (green << 8) | (red << 16) | (alpha << 24);
}

}  // namespace

void premultiply(std::vector<uint32_t>& pixels) {
  for (uint32_t& pixel : pixels) {
    const uint32_t alpha = pixel >> 24;
    if (alpha == 255) continue;
    auto scaled = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
    pixel = scaled(pixel & 0xFF) | (scaled((pixel >> 8) & 0xFF) << 8) | (scaled((pixel >> 16) & 0xFF) << 16) |
            (alpha << 24);
  }
}

PixelImage resample(const PixelImage& source, int width, int height) {
  PixelImage target;
  if (source.empty() || width <= 0 || height <= 0 ||
      source.pixels.size() < static_cast<size_t>(source.width) * static_cast<size_t>(source.height))
    return target;
  const auto across = contributions(source.width, width);
  const auto down = contributions(source.height, height);

  // Horizontal pass into floats: source rows, target columns.
  std::vector<Channels> rows(static_cast<size_t>(source.height) * static_cast<size_t>(width));
  for (int y = 0; y < source.height; ++y) {
    const uint32_t* line = &source.pixels[static_cast<size_t>(y) * static_cast<size_t>(source.width)];
    for (int x = 0; x < width; ++x) {
      const Contribution& c = across[static_cast<size_t>(x)];
      Channels sum{};
      for (size_t i = 0; i < c.weights.size(); ++i) {
        const Channels p = channelsOf(line[static_cast<size_t>(c.first) + i]);
        for (size_t k = 0; k < 4; ++k) sum[k] += p[k] * c.weights[i];
      }
      rows[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = sum;
    }
  }

  target.width = width;
  target.height = height;
  target.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const Contribution& c = down[static_cast<size_t>(y)];
    for (int x = 0; x < width; ++x) {
      Channels sum{};
      for (size_t i = 0; i < c.weights.size(); ++i) {
        const Channels& p =
            rows[(static_cast<size_t>(c.first) + i) * static_cast<size_t>(width) + static_cast<size_t>(x)];
        for (size_t k = 0; k < 4; ++k) sum[k] += p[k] * c.weights[i];
      }
      target.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = pixelOf(sum);
    }
  }
  return target;
}

Box fitInside(int sourceWidth, int sourceHeight, const Box& box) {
  if (sourceWidth <= 0 || sourceHeight <= 0 || box.empty()) return {};
  const long long byWidth = static_cast<long long>(box.width()) * sourceHeight;
  const long long byHeight = static_cast<long long>(box.height()) * sourceWidth;
  int width = box.width();
  int height = box.height();
  if (byWidth > byHeight)  // the box is wider than the picture: full height
    width = std::max(1, static_cast<int>(byHeight / sourceHeight));
  else
    height = std::max(1, static_cast<int>(byWidth / sourceWidth));
  return Box::sized(box.left + (box.width() - width) / 2, box.top + (box.height() - height) / 2, width, height);
}

Box fitInsideNoLarger(int sourceWidth, int sourceHeight, const Box& box) {
  if (sourceWidth <= box.width() && sourceHeight <= box.height() && sourceWidth > 0 && sourceHeight > 0)
    return Box::sized(box.left + (box.width() - sourceWidth) / 2, box.top + (box.height() - sourceHeight) / 2,
                      sourceWidth, sourceHeight);
  return fitInside(sourceWidth, sourceHeight, box);
}

}  // namespace qova::exui
