#pragma once
// Display scaling: the windows are laid out at 96 DPI, and every size and
// position is scaled to the DPI of the monitor they are on as MulDiv(value,
// dpi, 96) does (rounded half away from zero). Platform-free.
#include <cstdint>

namespace qova {

inline constexpr int kDesignDpi = 96;

// `value`, given at 96 DPI, at `dpi` (unchanged for a DPI of 0 or less).
constexpr int scaledForDpi(int value, int dpi) {
  if (dpi <= 0 || dpi == kDesignDpi) return value;
  const int64_t product = static_cast<int64_t>(value) * dpi;
  const int64_t half = kDesignDpi / 2;
  const int64_t magnitude = ((product < 0 ? -product : product) + half) / kDesignDpi;
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

}  // namespace qova
