#pragma once
// Conversions between the engine's units (milliseconds, volume 0..100,
// decimal flag texts) and Media Foundation's (100 ns ticks, volume 0.0..1.0).
// Platform-free so that the arithmetic reads on its own.
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace qova::aplayer {

constexpr int64_t kTicksPerMillisecond = 10'000;

// Media Foundation time (100 ns units) in whole milliseconds, clamped to the
// 32-bit range; 0 for negative times.
constexpr int32_t millisecondsFromTicks(int64_t ticks) {
  if (ticks <= 0) return 0;
  const int64_t ms = ticks / kTicksPerMillisecond;
  return ms > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                  : static_cast<int32_t>(ms);
}

// Milliseconds in Media Foundation time; negative positions become 0.
constexpr int64_t ticksFromMilliseconds(int32_t milliseconds) {
  return milliseconds <= 0 ? 0 : int64_t{milliseconds} * kTicksPerMillisecond;
}

constexpr int32_t clampVolume(int32_t volume) {
  return volume < 0 ? 0 : (volume > 100 ? 100 : volume);
}

constexpr float volumeLevel(int32_t volume) {
  return static_cast<float>(clampVolume(volume)) / 100.0f;
}

// "1" or "0" as a flag; nothing for any other text.
constexpr std::optional<bool> parseFlag(std::string_view text) {
  if (text == "1") return true;
  if (text == "0") return false;
  return std::nullopt;
}

constexpr const char* flagText(bool value) { return value ? "1" : "0"; }

}  // namespace qova::aplayer
