#pragma once
// The arithmetic of a horizontal slider: values between a minimum and a
// maximum, mapped onto the pixels the thumb's centre can travel. Platform-free.
namespace qova::exui {

enum class SliderKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

class SliderScale {
 public:
  // A reversed range is put in order; an empty one holds one value.
  SliderScale(int minimum, int maximum);

  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  int clamp(int value) const;
  // The value whose thumb centre lies nearest to x, for a thumb travelling
  // from `left` to `right` (inclusive).
  int valueAt(int x, int left, int right) const;
  // Where the thumb's centre lies for `value`.
  int positionOf(int value, int left, int right) const;
  // The value after a key: arrows move by one, pages by a tenth of the range
  // (at least one), Home and End go to the ends. Right and Up increase.
  int afterKey(int value, SliderKey key) const;
  // The value after `notches` wheel notches (positive: away from the user, increasing).
  int afterWheel(int value, int notches) const;

 private:
  int pageStep() const;

  int minimum_;
  int maximum_;
};

}  // namespace qova::exui
