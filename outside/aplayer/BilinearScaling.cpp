#include "outside/aplayer/BilinearScaling.h"

#include <algorithm>
#include <vector>

namespace qova::aplayer {
namespace {

// Weights in 1/256ths: two 8-bit weights multiplied keep within 16 bits a channel.
constexpr int kWeightBits = 8;
constexpr int kWeightOne = 1 << kWeightBits;

struct Tap {
  int first = 0;   // of the two source samples, in the area's coordinates
  int second = 0;
  int weight = 0;  // of the second, in 1/256ths
};

// For each of `targetLength` positions, the two of `sourceLength` samples it lies between.
std::vector<Tap> tapsAlong(int sourceLength, int targetLength) {
  std::vector<Tap> taps(static_cast<size_t>(targetLength));
  const int64_t scale = (int64_t{sourceLength} << 16) / targetLength;  // 16.16 fixed point
  for (int i = 0; i < targetLength; ++i) {
    // The target pixel's centre in source coordinates, less half a pixel.
    const int64_t centre = ((2 * i + 1) * scale) / 2 - (1 << 15);
    const int64_t clamped = std::clamp<int64_t>(centre, 0, int64_t{sourceLength - 1} << 16);
    Tap& tap = taps[static_cast<size_t>(i)];
    tap.first = static_cast<int>(clamped >> 16);
    tap.second = std::min(tap.first + 1, sourceLength - 1);
    tap.weight = static_cast<int>((clamped & 0xffff) >> (16 - kWeightBits));
  }
  return taps;
}

}  // namespace

bool scaleBilinear(const BgrxView& source, PictureRect area, uint8_t* target, int width, int height,
                   size_t targetStride) {
  const int left = std::clamp(area.left, 0, std::max(source.width - 1, 0));
  const int top = std::clamp(area.top, 0, std::max(source.height - 1, 0));
  const int areaWidth = std::min(area.width, source.width - left);
  const int areaHeight = std::min(area.height, source.height - top);
  if (!source.pixels || !target || areaWidth <= 0 || areaHeight <= 0 || width <= 0 || height <= 0 ||
      targetStride < static_cast<size_t>(width) * 4)
    return false;
  const std::vector<Tap> columns = tapsAlong(areaWidth, width);
  const std::vector<Tap> rows = tapsAlong(areaHeight, height);
  // Each target row blends its two source rows first, at 16 bits a channel, then blends
  // neighbours along that: the same sums as the four-pixel blend, in far fewer operations.
  std::vector<uint16_t> blendedRow(static_cast<size_t>(areaWidth) * 4);
  for (int y = 0; y < height; ++y) {
    const Tap& row = rows[static_cast<size_t>(y)];
    const uint8_t* upper = source.pixels + static_cast<size_t>(top + row.first) * source.stride + left * 4;
    const uint8_t* lower = source.pixels + static_cast<size_t>(top + row.second) * source.stride + left * 4;
    const int lowerWeight = row.weight;
    const int upperWeight = kWeightOne - lowerWeight;
    for (size_t i = 0; i < blendedRow.size(); ++i)
      blendedRow[i] = static_cast<uint16_t>(upper[i] * upperWeight + lower[i] * lowerWeight);
    uint8_t* out = target + static_cast<size_t>(y) * targetStride;
    for (int x = 0; x < width; ++x, out += 4) {
      const Tap& column = columns[static_cast<size_t>(x)];
      const int rightWeight = column.weight;
      const int leftWeight = kWeightOne - rightWeight;
      const uint16_t* a = blendedRow.data() + column.first * 4;
      const uint16_t* b = blendedRow.data() + column.second * 4;
      for (int channel = 0; channel < 3; ++channel) {
        const int blended = a[channel] * leftWeight + b[channel] * rightWeight;
        out[channel] = static_cast<uint8_t>((blended + (1 << (2 * kWeightBits - 1))) >> (2 * kWeightBits));
      }
      out[3] = 0;
    }
  }
  return true;
}

}  // namespace qova::aplayer
