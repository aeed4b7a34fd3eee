#include "outside/exui/SliderScale.h"

#include <algorithm>
#include <cstdint>

namespace qova::exui {
namespace {

constexpr int kWheelStep = 5;

int clampToInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

SliderScale::SliderScale(int minimum, int maximum)
    : minimum_(std::min(minimum, maximum)), maximum_(std::max(minimum, maximum)) {}

int SliderScale::clamp(int value) const { return std::clamp(value, minimum_, maximum_); }

int SliderScale::valueAt(int x, int left, int right) const {
  if (right <= left) return minimum_;
  const int64_t span = static_cast<int64_t>(maximum_) - minimum_;
  const int64_t travel = right - left;
  const int64_t moved = std::clamp<int64_t>(x - left, 0, travel);
  return clamp(clampToInt(minimum_ + (moved * span + travel / 2) / travel));
}

int SliderScale::positionOf(int value, int left, int right) const {
  const int64_t span = static_cast<int64_t>(maximum_) - minimum_;
  if (span == 0 || right <= left) return left;
  const int64_t travel = right - left;
  return left + static_cast<int>(((static_cast<int64_t>(clamp(value)) - minimum_) * travel + span / 2) / span);
}

int SliderScale::pageStep() const {
  const int64_t span = static_cast<int64_t>(maximum_) - minimum_;
  return static_cast<int>(std::clamp<int64_t>(span / 10, 1, INT32_MAX));
}

int SliderScale::afterKey(int value, SliderKey key) const {
  const int64_t current = clamp(value);
  switch (key) {
    case SliderKey::Left:
    case SliderKey::Down:
      return clamp(clampToInt(current - 1));
    case SliderKey::Right:
    case SliderKey::Up:
      return clamp(clampToInt(current + 1));
    case SliderKey::PageUp:
      return clamp(clampToInt(current + pageStep()));
    case SliderKey::PageDown:
      return clamp(clampToInt(current - pageStep()));
    case SliderKey::Home:
      return minimum_;
    case SliderKey::End:
      return maximum_;
  }
  return clamp(value);
}

int SliderScale::afterWheel(int value, int notches) const {
  return clamp(clampToInt(static_cast<int64_t>(clamp(value)) + static_cast<int64_t>(notches) * kWheelStep));
}

}  // namespace qova::exui
