#pragma once
// Deterministic random patterns and subjects in the expression language of
// "VBScript.RegExp", shared by the native tests, the fuzz target and the
// comparison with the system object under Wine. Plain C++ (UTF-16 text).
#include <cstdint>
#include <string>

namespace qova::test {

// A small deterministic generator (the standard distributions differ
// between libraries; this does not).
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ >> 11);
  }
  // 0 <= result < bound.
  std::uint32_t below(std::uint32_t bound) { return bound ? next() % bound : 0; }
  bool chance(std::uint32_t percent) { return below(100) < percent; }

 private:
  std::uint64_t state_;
};

struct PatternOptions {
  bool lookAheads = true;       // (?= ) and (?! )
  bool backReferences = true;   // \1
  bool canMatchEmpty = true;    // quantifiers and parts that may match nothing
  bool damaged = true;          // now and then an edit that may make it invalid
};

// A random pattern over a small alphabet with CJK, angle brackets and
// line breaks.
std::u16string randomPattern(Dice& dice, const PatternOptions& options = {});

// A random subject over the same alphabet, length below maxLength.
std::u16string randomSubject(Dice& dice, std::uint32_t maxLength);

}  // namespace qova::test
