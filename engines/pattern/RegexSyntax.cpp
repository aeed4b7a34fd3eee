#include "engines/pattern/RegexSyntax.h"

#include <algorithm>

#include "engines/pattern/CaseFolding.h"

namespace qova::regex {

bool CharSet::contains(char16_t c) const {
  auto it = std::upper_bound(ranges.begin(), ranges.end(), c,
                             [](char16_t value, const auto& range) { return value < range.first; });
  return it != ranges.begin() && c <= std::prev(it)->second;
}

void CharSet::add(char16_t first, char16_t last) {
  if (first > last) return;
  auto it = std::lower_bound(ranges.begin(), ranges.end(), first,
                             [](const auto& range, char16_t value) { return range.second + 1 < value; });
  // it: the first range that ends at or after first - 1 (touching or overlapping).
  std::pair<char16_t, char16_t> merged{first, last};
  auto end = it;
  while (end != ranges.end() && end->first <= static_cast<unsigned>(last) + 1) {
    merged.first = std::min(merged.first, end->first);
    merged.second = std::max(merged.second, end->second);
    ++end;
  }
  it = ranges.erase(it, end);
  ranges.insert(it, merged);
}

void CharSet::addSet(const CharSet& other) {
  for (const auto& [first, last] : other.ranges) add(first, last);
}

CharSet CharSet::complement() const {
  CharSet result;
  unsigned next = 0;
  for (const auto& [first, last] : ranges) {
    if (first > next) result.ranges.emplace_back(static_cast<char16_t>(next), static_cast<char16_t>(first - 1));
    next = static_cast<unsigned>(last) + 1;
  }
  if (next <= 0xFFFF) result.ranges.emplace_back(static_cast<char16_t>(next), u'\xFFFF');
  return result;
}

void CharSet::closeOverCase() {
  CharSet extra;
  for (const auto& group : caseGroups()) {
    if (std::any_of(group.begin(), group.end(), [this](char16_t c) { return contains(c); }))
      for (char16_t c : group) extra.add(c, c);
  }
  addSet(extra);
}

namespace {

// Deeper nesting than this is refused rather than followed.
constexpr int kMaxNesting = 256;
constexpr std::uint64_t kMaxRepeatCount = 0xFFFF;
constexpr std::uint32_t kMaxGroups = 65534;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isOctalDigit(char16_t c) { return c >= u'0' && c <= u'7'; }
bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isWordChar(char16_t c) { return c < 0x80 && (isAsciiLetter(c) || isDigit(c) || c == u'_'); }

int hexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

CharSet digitSet() { CharSet s; s.add(u'0', u'9'); return s; }
CharSet spaceSet() {
  CharSet s;
  s.add(u'\t', u'\r');
  s.add(u' ', u' ');
  return s;
}
CharSet wordSet() {
  CharSet s;
  s.add(u'0', u'9');
  s.add(u'A', u'Z');
  s.add(u'_', u'_');
  s.add(u'a', u'z');
  return s;
}

std::unique_ptr<Node> makeNode(NodeKind kind) {
  auto node = std::make_unique<Node>();
  node->kind = kind;
  return node;
}

std::unique_ptr<Node> makeChar(char16_t c) {
  auto node = makeNode(NodeKind::Char);
  node->ch = c;
  return node;
}

std::unique_ptr<Node> makeSet(CharSet set) {
  auto node = makeNode(NodeKind::Set);
  node->set = std::move(set);
  return node;
}

// Capture groups in the whole pattern, needed before the parser reaches
// them: "\2" inside the first group may name the second.
std::uint32_t countGroups(std::u16string_view p) {
  std::uint32_t count = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] == u'\\') {
      ++i;
    } else if (p[i] == u'[') {
      for (++i; i < p.size() && p[i] != u']'; ++i)
        if (p[i] == u'\\') ++i;
    } else if (p[i] == u'(') {
      const bool special = i + 2 < p.size() && p[i + 1] == u'?' &&
                           (p[i + 2] == u'=' || p[i + 2] == u'!' || p[i + 2] == u':');
      if (!special) ++count;
    }
  }
  return count;
}

class Parser {
 public:
  Parser(std::u16string_view pattern, bool ignoreCase)
      : p_(pattern), ignoreCase_(ignoreCase), totalGroups_(countGroups(pattern)) {}

  std::optional<Syntax> run() {
    auto root = disjunction(0);
    if (!root || pos_ != p_.size()) return std::nullopt;  // a stray ")" stops the top level
    Syntax syntax;
    syntax.root = std::move(root);
    syntax.groupCount = groups_;
    return syntax;
  }

 private:
  char16_t at(size_t i) const { return i < p_.size() ? p_[i] : u'\0'; }
  char16_t peek() const { return at(pos_); }
  bool atEnd() const { return pos_ >= p_.size(); }

  std::unique_ptr<Node> disjunction(int depth) {
    if (depth > kMaxNesting) return nullptr;
    auto first = alternative(depth);
    if (!first) return nullptr;
    if (peek() != u'|' || atEnd()) return first;
    auto alt = makeNode(NodeKind::Alternation);
    alt->children.push_back(std::move(first));
    while (!atEnd() && peek() == u'|') {
      ++pos_;
      auto next = alternative(depth);
      if (!next) return nullptr;
      alt->children.push_back(std::move(next));
    }
    return alt;
  }

  std::unique_ptr<Node> alternative(int depth) {
    auto concat = makeNode(NodeKind::Concat);
    while (!atEnd() && peek() != u'|' && peek() != u')') {
      auto t = term(depth);
      if (!t) return nullptr;
      concat->children.push_back(std::move(t));
    }
    if (concat->children.size() == 1) return std::move(concat->children.front());
    if (concat->children.empty()) return makeNode(NodeKind::Empty);
    return concat;
  }

  // "{n}", "{n,}" or "{n,m}" at i, values not looked at.
  bool braceQuantifierAt(size_t i) const {
    if (at(i) != u'{' || !isDigit(at(i + 1))) return false;
    i += 1;
    while (isDigit(at(i))) ++i;
    if (at(i) == u',') {
      ++i;
      while (isDigit(at(i))) ++i;
    }
    return at(i) == u'}';
  }

  bool quantifierFollows() const {
    const char16_t c = peek();
    return !atEnd() && (c == u'*' || c == u'+' || c == u'?' || braceQuantifierAt(pos_));
  }

  std::uint64_t readDecimal(size_t& i) const {
    std::uint64_t value = 0;
    while (isDigit(at(i))) {
      if (value <= 0xFFFFFFFFull) value = value * 10 + (at(i) - u'0');
      ++i;
    }
    return value;
  }

  enum class Brace { None, Quantifier, Error };

  Brace readBraceQuantifier(std::uint32_t& min, std::uint32_t& max) {
    size_t i = pos_ + 1;
    if (!isDigit(at(i))) return Brace::None;
    const std::uint64_t low = readDecimal(i);
    if (low > kMaxRepeatCount) return Brace::Error;
    std::uint64_t high = low;
    if (at(i) == u',') {
      ++i;
      if (isDigit(at(i))) {
        high = readDecimal(i);
        if (high > kMaxRepeatCount || low > high) return Brace::Error;
      } else {
        high = kUnbounded;
      }
    }
    if (at(i) != u'}') return Brace::None;
    pos_ = i + 1;
    min = static_cast<std::uint32_t>(low);
    max = static_cast<std::uint32_t>(high);
    return Brace::Quantifier;
  }

  std::unique_ptr<Node> quantified(std::unique_ptr<Node> atom, std::uint32_t groupsBefore) {
    if (atEnd()) return atom;
    std::uint32_t min = 0, max = 0;
    switch (peek()) {
      case u'*': min = 0; max = kUnbounded; ++pos_; break;
      case u'+': min = 1; max = kUnbounded; ++pos_; break;
      case u'?': min = 0; max = 1; ++pos_; break;
      case u'{':
        switch (readBraceQuantifier(min, max)) {
          case Brace::None: return atom;
          case Brace::Error: return nullptr;
          case Brace::Quantifier: break;
        }
        break;
      default: return atom;
    }
    auto repeat = makeNode(NodeKind::Repeat);
    repeat->min = min;
    repeat->max = max;
    repeat->greedy = true;
    if (!atEnd() && peek() == u'?') {
      repeat->greedy = false;
      ++pos_;
    }
    repeat->firstGroup = groupsBefore + 1;
    repeat->endGroup = groups_ + 1;
    repeat->children.push_back(std::move(atom));
    if (quantifierFollows()) return nullptr;  // "a**", "a{2}{3}"
    return repeat;
  }

  std::unique_ptr<Node> assertion(NodeKind kind, size_t length) {
    pos_ += length;
    if (quantifierFollows()) return nullptr;  // assertions take no quantifier
    return makeNode(kind);
  }

  std::unique_ptr<Node> term(int depth) {
    const std::uint32_t groupsBefore = groups_;
    std::unique_ptr<Node> atom;
    switch (peek()) {
      case u'^': return assertion(NodeKind::LineStart, 1);
      case u'$': return assertion(NodeKind::LineEnd, 1);
      case u'\\':
        if (pos_ + 1 >= p_.size()) return nullptr;  // trailing backslash
        if (at(pos_ + 1) == u'b') return assertion(NodeKind::WordBoundary, 2);
        if (at(pos_ + 1) == u'B') return assertion(NodeKind::NotWordBoundary, 2);
        atom = escape();
        break;
      case u'(': atom = group(depth); break;
      case u'[': atom = characterClass(); break;
      case u'.': ++pos_; atom = makeNode(NodeKind::Any); break;
      case u'*': case u'+': case u'?': return nullptr;  // nothing to repeat
      case u'{':
        if (braceQuantifierAt(pos_)) return nullptr;
        ++pos_;
        atom = makeChar(u'{');
        break;
      default: atom = makeChar(peek()); ++pos_; break;
    }
    if (!atom) return nullptr;
    return quantified(std::move(atom), groupsBefore);
  }

  std::unique_ptr<Node> group(int depth) {
    ++pos_;
    NodeKind kind = NodeKind::Group;
    if (peek() == u'?' && pos_ + 1 < p_.size()) {
      switch (at(pos_ + 1)) {
        case u'=': kind = NodeKind::LookAhead; break;
        case u'!': kind = NodeKind::NegativeLookAhead; break;
        case u':': kind = NodeKind::NonCapture; break;
        default: break;
      }
      if (kind != NodeKind::Group) pos_ += 2;
    }
    auto node = makeNode(kind);
    if (kind == NodeKind::Group) {
      if (groups_ >= kMaxGroups) return nullptr;
      node->group = ++groups_;
    }
    auto inner = disjunction(depth + 1);
    if (!inner || peek() != u')' || atEnd()) return nullptr;
    ++pos_;
    node->children.push_back(std::move(inner));
    return node;
  }

  // Octal digits at pos_, the way the old engine reads "\0..." (a digit
  // that would overflow a byte is swallowed).
  char16_t octalEscape() {
    unsigned num = 0;
    while (!atEnd() && isOctalDigit(peek())) {
      const unsigned next = 8 * num + (peek() - u'0');
      ++pos_;
      if (next > 0377) break;
      num = next;
    }
    return static_cast<char16_t>(num);
  }

  // "\xHH" or "\uHHHH" with pos_ after the letter; a bad digit makes the
  // letter itself the character, digits cut short by the end count as read.
  char16_t hexEscape(unsigned digits) {
    unsigned value = 0;
    for (unsigned i = 0; i < digits && !atEnd(); ++i) {
      const int d = hexValue(p_[pos_++]);
      if (d < 0) {
        pos_ -= i + 2;
        return p_[pos_++];
      }
      value = value * 16 + static_cast<unsigned>(d);
    }
    return static_cast<char16_t>(value);
  }

  std::unique_ptr<Node> escape() {
    ++pos_;
    const char16_t e = p_[pos_++];
    switch (e) {
      case u'0': return makeChar(octalEscape());
      case u'1': case u'2': case u'3': case u'4': case u'5': case u'6': case u'7': case u'8': case u'9': {
        const size_t digitsStart = pos_ - 1;
        size_t i = digitsStart;
        const std::uint64_t number = readDecimal(i);
        if (number <= totalGroups_) {
          pos_ = i;
          auto node = makeNode(NodeKind::Backref);
          node->group = static_cast<std::uint32_t>(number);
          return node;
        }
        // No such group: the old engine's compatibility reading.
        pos_ = digitsStart;
        if (e >= u'8') return makeChar(u'\\');
        return makeChar(octalEscape());
      }
      case u'f': return makeChar(u'\f');
      case u'n': return makeChar(u'\n');
      case u'r': return makeChar(u'\r');
      case u't': return makeChar(u'\t');
      case u'v': return makeChar(u'\v');
      case u'c':
        if (!atEnd() && isAsciiLetter(peek())) return makeChar(static_cast<char16_t>(p_[pos_++] & 0x1F));
        --pos_;
        return makeChar(u'\\');
      case u'x': return makeChar(hexEscape(2));
      case u'u': return makeChar(hexEscape(4));
      case u'd': return makeSet(digitSet());
      case u'D': return makeSet(digitSet().complement());
      case u's': return makeSet(spaceSet());
      case u'S': return makeSet(spaceSet().complement());
      case u'w': return makeSet(wordSet());
      case u'W': return makeSet(wordSet().complement());
      default: return makeChar(e);
    }
  }

  std::unique_ptr<Node> characterClass() {
    const size_t start = pos_ + 1;
    size_t i = start;
    for (;;) {
      if (i >= p_.size()) return nullptr;  // no closing "]"
      if (p_[i] == u'\\') {
        i += 2;
        continue;
      }
      if (p_[i] == u']') break;
      ++i;
    }
    pos_ = i + 1;
    const std::u16string_view body = p_.substr(start, i - start);
    if (!classIsValid(body)) return nullptr;
    return makeSet(classMembers(body));
  }

  // One member of a class body at s (not a class escape): its character.
  // wordControl: whether "\c" takes any word character (the matcher's
  // reading) or only letters (the checker's reading).
  static char16_t classChar(std::u16string_view src, size_t& s, bool wordControl) {
    if (src[s] != u'\\') return src[s++];
    ++s;
    const char16_t c = src[s++];
    switch (c) {
      case u'b': return u'\b';
      case u'f': return u'\f';
      case u'n': return u'\n';
      case u'r': return u'\r';
      case u't': return u'\t';
      case u'v': return u'\v';
      case u'c':
        if (s < src.size() && (wordControl ? isWordChar(src[s]) : isAsciiLetter(src[s])))
          return static_cast<char16_t>(src[s++] & 0x1F);
        --s;
        return u'\\';
      case u'x':
      case u'u': {
        const unsigned digits = c == u'x' ? 2 : 4;
        unsigned value = 0;
        for (unsigned k = 0; k < digits && s < src.size(); ++k) {
          const int d = hexValue(src[s++]);
          if (d < 0) {
            s -= k + 1;
            return u'\\';
          }
          value = value * 16 + static_cast<unsigned>(d);
        }
        return static_cast<char16_t>(value);
      }
      case u'0': case u'1': case u'2': case u'3': case u'4': case u'5': case u'6': case u'7': {
        unsigned n = c - u'0';
        if (s < src.size() && isOctalDigit(src[s])) {
          n = 8 * n + (src[s++] - u'0');
          if (s < src.size() && isOctalDigit(src[s])) {
            const unsigned three = 8 * n + (src[s] - u'0');
            if (three <= 0377) {
              n = three;
              ++s;
            }
          }
        }
        return static_cast<char16_t>(n);
      }
      default: return c;
    }
  }

  static bool isClassEscape(std::u16string_view src, size_t s) {
    if (src[s] != u'\\') return false;
    switch (src[s + 1]) {
      case u'd': case u'D': case u's': case u'S': case u'w': case u'W': return true;
      default: return false;
    }
  }

  static bool classIsValid(std::u16string_view src) {
    size_t s = 0;
    if (!src.empty() && src[0] == u'^') ++s;
    bool inRange = false;
    char16_t rangeStart = 0;
    while (s < src.size()) {
      if (isClassEscape(src, s)) {
        if (inRange) return false;  // "[a-\d]"
        s += 2;
        continue;
      }
      const char16_t c = classChar(src, s, false);
      if (inRange) {
        if (rangeStart > c) return false;
        inRange = false;
      } else if (s + 1 < src.size() && src[s] == u'-') {
        ++s;
        inRange = true;
        rangeStart = c;
      }
    }
    return true;
  }

  CharSet classMembers(std::u16string_view src) const {
    CharSet set;
    size_t s = 0;
    const bool negated = !src.empty() && src[0] == u'^';
    if (negated) ++s;
    bool inRange = false;
    char16_t rangeStart = 0;
    while (s < src.size()) {
      if (isClassEscape(src, s)) {
        switch (src[s + 1]) {
          case u'd': set.addSet(digitSet()); break;
          case u'D': set.addSet(digitSet().complement()); break;
          case u's': set.addSet(spaceSet()); break;
          case u'S': set.addSet(spaceSet().complement()); break;
          case u'w': set.addSet(wordSet()); break;
          default: set.addSet(wordSet().complement()); break;
        }
        s += 2;
        continue;
      }
      const char16_t c = classChar(src, s, true);
      if (inRange) {
        set.add(rangeStart, c);
        inRange = false;
      } else {
        set.add(c, c);
        if (s + 1 < src.size() && src[s] == u'-') {
          ++s;
          inRange = true;
          rangeStart = c;
        }
      }
    }
    if (ignoreCase_) set.closeOverCase();
    return negated ? set.complement() : set;
  }

  std::u16string_view p_;
  size_t pos_ = 0;
  bool ignoreCase_;
  std::uint32_t groups_ = 0;
  std::uint32_t totalGroups_;
};

}  // namespace

std::optional<Syntax> parsePattern(std::u16string_view pattern, bool ignoreCase) {
  return Parser(pattern, ignoreCase).run();
}

}  // namespace qova::regex
