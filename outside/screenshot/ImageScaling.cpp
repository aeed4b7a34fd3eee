#include "outside/screenshot/ImageScaling.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qova::screenshot {
namespace {

// The source samples one output position draws from, and their weights.
struct Taps {
  int first = 0;
  std::vector<float> weights;
};

// One Taps per output position along an axis of `sourceLength` samples.
std::vector<Taps> filterTaps(int sourceLength, int targetLength) {
  const double scale = static_cast<double>(sourceLength) / targetLength;
  const double radius = std::max(scale, 1.0);
  std::vector<Taps> axis(static_cast<size_t>(targetLength));
  for (int i = 0; i < targetLength; ++i) {
    const double centre = (i + 0.5) * scale - 0.5;
    const int low = static_cast<int>(std::ceil(centre - radius));
    const int high = static_cast<int>(std::floor(centre + radius));
    // Samples beyond the edge repeat the edge sample, so their weight goes to it.
    const int first = std::clamp(low, 0, sourceLength - 1);
    const int last = std::clamp(high, 0, sourceLength - 1);
    Taps& taps = axis[static_cast<size_t>(i)];
    taps.first = first;
    taps.weights.assign(static_cast<size_t>(last - first + 1), 0.0f);
    double total = 0.0;
    for (int j = low; j <= high; ++j) {
      const double weight = std::max(0.0, 1.0 - std::abs(j - centre) / radius);
      taps.weights[static_cast<size_t>(std::clamp(j, first, last) - first)] += static_cast<float>(weight);
      total += weight;
    }
    if (total <= 0.0) {
      taps.weights.assign(1, 1.0f);
      taps.first = std::clamp(static_cast<int>(std::lround(centre)), 0, sourceLength - 1);
      continue;
    }
    for (float& weight : taps.weights) weight = static_cast<float>(weight / total);
  }
  return axis;
}

}  // namespace

int heightForWidth(int width, int sourceWidth, int sourceHeight, int pixelAspectNumerator,
                   int pixelAspectDenominator) {
  if (width <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return 0;
  double displayWidth = sourceWidth;
  if (pixelAspectNumerator > 0 && pixelAspectDenominator > 0)
    displayWidth = displayWidth * pixelAspectNumerator / pixelAspectDenominator;
  const double height = std::round(static_cast<double>(width) * sourceHeight / displayWidth);
  return static_cast<int>(std::clamp(height, 1.0, 4.0 * width));
}

media::RgbImage resizeImage(const media::RgbImage& source, int width, int height) {
  if (source.empty() || width <= 0 || height <= 0) return {};
  constexpr int kChannels = media::RgbImage::kBytesPerPixel;
  const std::vector<Taps> columns = filterTaps(source.width, width);
  const std::vector<Taps> rows = filterTaps(source.height, height);

  // Horizontal pass into floats, one row of `width` pixels per source row.
  std::vector<float> wide(static_cast<size_t>(width) * source.height * kChannels);
  for (int y = 0; y < source.height; ++y) {
    float* target = wide.data() + static_cast<size_t>(y) * width * kChannels;
    for (int x = 0; x < width; ++x) {
      const Taps& taps = columns[static_cast<size_t>(x)];
      const uint8_t* sample = source.at(taps.first, y);
      float sum[kChannels] = {};
      for (float weight : taps.weights) {
        for (int c = 0; c < kChannels; ++c) sum[c] += weight * sample[c];
        sample += kChannels;
      }
      for (int c = 0; c < kChannels; ++c) target[x * kChannels + c] = sum[c];
    }
  }

  media::RgbImage result(width, height);
  const size_t wideStride = static_cast<size_t>(width) * kChannels;
  for (int y = 0; y < height; ++y) {
    const Taps& taps = rows[static_cast<size_t>(y)];
    uint8_t* target = result.at(0, y);
    for (size_t i = 0; i < wideStride; ++i) {
      const float* sample = wide.data() + static_cast<size_t>(taps.first) * wideStride + i;
      float sum = 0.0f;
      for (float weight : taps.weights) {
        sum += weight * *sample;
        sample += wideStride;
      }
      target[i] = static_cast<uint8_t>(std::clamp(std::lround(sum), 0L, 255L));
    }
  }
  return result;
}

}  // namespace qova::screenshot
