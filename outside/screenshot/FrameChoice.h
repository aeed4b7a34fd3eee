#pragma once
// Which frame of a video becomes its thumbnail. Platform-free.
//
// The first choice is a frame at a tenth of the video (the very start for
// clips under a second), past opening titles and fades. Many videos open on
// black, so a frame that is black or nearly so is passed over for the next
// later position; when every position is dark, the brightest frame seen wins.
#include <cstdint>
#include <vector>

#include "outside/media/RgbImage.h"

namespace qova::screenshot {

// Media Foundation's time unit: 100 nanoseconds.
constexpr int64_t kTicksPerSecond = 10'000'000;

struct Brightness {
  double meanLuma = 0.0;    // 0..255
  double brightShare = 0.0;  // share of pixels with a luma of at least kBrightLuma
};

constexpr int kBrightLuma = 40;

// How bright the picture is; all zero for an empty picture.
Brightness measureBrightness(const media::RgbImage& image);

// True for a picture in which fewer than 1% of the pixels are brighter than near-black.
bool looksBlack(const Brightness& brightness);

// Positions (100-ns units) to take a frame from, best first: for an unknown
// duration (0 or less) only the start.
std::vector<int64_t> framePositions(int64_t duration);

// Keeps the best frame offered so far.
class FramePicker {
 public:
  // Takes a frame; true when it is good enough to stop looking (not black).
  bool offer(media::RgbImage frame);
  bool hasFrame() const { return !best_.empty(); }
  bool satisfied() const { return satisfied_; }
  const media::RgbImage& best() const { return best_; }
  media::RgbImage takeBest() { return std::move(best_); }

 private:
  media::RgbImage best_;
  double bestLuma_ = -1.0;
  bool satisfied_ = false;
};

}  // namespace qova::screenshot
