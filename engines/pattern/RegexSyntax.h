#pragma once
// The expression language of the system's "VBScript.RegExp" object
// (ECMAScript 3 syntax with the old engine's leniencies), parsed into a tree.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace qova::regex {

// A set of UTF-16 code units as sorted, disjoint, non-adjacent ranges.
struct CharSet {
  std::vector<std::pair<char16_t, char16_t>> ranges;

  bool contains(char16_t c) const;
  void add(char16_t first, char16_t last);
  void addSet(const CharSet& other);
  CharSet complement() const;
  // Adds every character that equals a member when case is ignored.
  void closeOverCase();
};

enum class NodeKind : std::uint8_t {
  Empty,
  Char,             // ch
  Any,              // "." : anything but a line feed
  Set,              // set (negation already applied)
  LineStart,        // "^"
  LineEnd,          // "$"
  WordBoundary,     // "\b"
  NotWordBoundary,  // "\B"
  Backref,          // group
  Group,            // group, children[0]
  NonCapture,       // children[0]
  LookAhead,        // children[0]
  NegativeLookAhead,
  Concat,           // children
  Alternation,      // children
  Repeat,           // min, max, greedy, children[0]
};

inline constexpr std::uint32_t kUnbounded = 0xFFFFFFFFu;

struct Node {
  NodeKind kind = NodeKind::Empty;
  char16_t ch = 0;
  std::uint32_t group = 0;
  std::uint32_t min = 0;
  std::uint32_t max = 0;
  bool greedy = true;
  // Capture groups opened inside this node: [firstGroup, endGroup).
  std::uint32_t firstGroup = 0;
  std::uint32_t endGroup = 0;
  CharSet set;
  std::vector<std::unique_ptr<Node>> children;
};

struct Syntax {
  std::unique_ptr<Node> root;
  std::uint32_t groupCount = 0;
};

// The tree of pattern; nullopt when the system object would reject the
// pattern (or it nests deeper than we are willing to follow).
std::optional<Syntax> parsePattern(std::u16string_view pattern, bool ignoreCase);

}  // namespace qova::regex
