#pragma once
// A parsed pattern compiled into instructions for the two matchers: the
// breadth-first one (PikeSearch) for ordinary patterns and the backtracking
// one (BacktrackSearch) for back references and look-aheads.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engines/pattern/RegexSyntax.h"

namespace qova::regex {

enum class Op : std::uint8_t {
  Char,             // a: the code unit
  CharFold,         // a: the canonical code unit (case ignored)
  Any,              // anything but a line feed
  Set,              // a: index into sets
  Split,            // a: preferred continuation, b: the other
  Jump,             // a: target
  Save,             // a: capture slot; an opening slot also forgets the closing one
  ClearGroups,      // groups [a, b) forget their captures (each lazy repetition)
  LoopStart,        // a: loop slot, set to the position
  LoopCheck,        // a: loop slot; fails when the repetition consumed nothing
  LineStart,
  LineEnd,
  WordBoundary,
  NotWordBoundary,
  Backref,          // a: group
  Look,             // a: instruction after the matching LookEnd, b: 1 when negative
  LookEnd,
  Match,
};

struct Inst {
  Op op;
  std::uint32_t a = 0;
  std::uint32_t b = 0;
};

struct CompiledSet {
  CharSet set;
  std::array<std::uint64_t, 2> ascii{};  // members below 128, for speed

  bool contains(char16_t c) const {
    if (c < 128) return (ascii[c >> 6] >> (c & 63)) & 1u;
    return set.contains(c);
  }
};

struct Program {
  std::vector<Inst> code;
  std::vector<CompiledSet> sets;
  // How many repetition bodies enclose each instruction (a LoopStart is
  // outside its own body, its LoopCheck inside).
  std::vector<std::uint16_t> loopDepth;
  std::uint32_t groupCount = 0;
  std::uint32_t loopSlots = 0;
  // Back references and look-aheads need the backtracking matcher.
  bool needsBacktracking = false;
  // The code units any match must start with, when there are a few; empty
  // when a match may start with anything (or with nothing).
  std::vector<char16_t> firstChars;

  std::size_t captureSlots() const { return 2 * (std::size_t{groupCount} + 1); }
  std::size_t slotCount() const { return captureSlots() + loopSlots; }
};

// Whether n may match the empty text (erring towards yes: assertions,
// look-aheads and back references count as possibly empty).
bool canMatchEmpty(const Node& n);

// The program of pattern; nullopt when the pattern is invalid or too large.
std::optional<Program> compilePattern(std::u16string_view pattern, bool ignoreCase);

// The conditions of the zero-width instructions at pos of text.
bool isLineBreak(char16_t c);
bool atLineStart(std::u16string_view text, std::size_t pos, bool multiline);
bool atLineEnd(std::u16string_view text, std::size_t pos, bool multiline);
bool atWordBoundary(std::u16string_view text, std::size_t pos);

char16_t canonicalCase(char16_t c);

// Whether instruction inst (a consuming one) accepts c.
inline bool consumes(const Program& program, const Inst& inst, char16_t c) {
  switch (inst.op) {
    case Op::Char: return c == inst.a;
    case Op::CharFold: return c == inst.a || canonicalCase(c) == inst.a;
    case Op::Any: return c != u'\n';
    case Op::Set: return program.sets[inst.a].contains(c);
    default: return false;
  }
}

}  // namespace qova::regex
