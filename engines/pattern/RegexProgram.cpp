#include "engines/pattern/RegexProgram.h"

#include <algorithm>

#include "engines/pattern/CaseFolding.h"

namespace qova::regex {

bool canMatchEmpty(const Node& n) {
  switch (n.kind) {
    case NodeKind::Char:
    case NodeKind::Any:
    case NodeKind::Set: return false;
    case NodeKind::Group:
    case NodeKind::NonCapture: return canMatchEmpty(*n.children[0]);
    case NodeKind::Concat:
      return std::all_of(n.children.begin(), n.children.end(), [](const auto& c) { return canMatchEmpty(*c); });
    case NodeKind::Alternation:
      return std::any_of(n.children.begin(), n.children.end(), [](const auto& c) { return canMatchEmpty(*c); });
    case NodeKind::Repeat: return n.min == 0 || canMatchEmpty(*n.children[0]);
    default: return true;
  }
}

namespace {

// Counted repetitions are written out; a pattern that grows past this is
// refused instead of eating memory.
constexpr std::size_t kMaxInstructions = 200000;
constexpr std::size_t kMaxFirstChars = 8;

class Compiler {
 public:
  Compiler(Program& program, bool ignoreCase) : program_(program), ignoreCase_(ignoreCase) {}

  bool compile(const Node& root) {
    emit(Op::Save, 0);
    if (!node(root)) return false;
    emit(Op::Save, 1);
    emit(Op::Match);
    return true;
  }

 private:
  std::uint32_t here() const { return static_cast<std::uint32_t>(program_.code.size()); }

  std::uint32_t emit(Op op, std::uint32_t a = 0, std::uint32_t b = 0) {
    program_.code.push_back(Inst{op, a, b});
    program_.loopDepth.push_back(depth_);
    return here() - 1;
  }

  bool fits() const { return program_.code.size() <= kMaxInstructions; }

  bool node(const Node& n) {
    if (!fits()) return false;
    switch (n.kind) {
      case NodeKind::Empty: return true;
      case NodeKind::Char:
        if (ignoreCase_ && caseEquivalents(n.ch).size() > 1)
          emit(Op::CharFold, canonicalCase(n.ch));
        else
          emit(Op::Char, n.ch);
        return true;
      case NodeKind::Any: emit(Op::Any); return true;
      case NodeKind::Set: {
        CompiledSet compiled;
        compiled.set = n.set;
        for (char16_t c = 0; c < 128; ++c)
          if (n.set.contains(c)) compiled.ascii[c >> 6] |= std::uint64_t{1} << (c & 63);
        program_.sets.push_back(std::move(compiled));
        emit(Op::Set, static_cast<std::uint32_t>(program_.sets.size() - 1));
        return true;
      }
      case NodeKind::LineStart: emit(Op::LineStart); return true;
      case NodeKind::LineEnd: emit(Op::LineEnd); return true;
      case NodeKind::WordBoundary: emit(Op::WordBoundary); return true;
      case NodeKind::NotWordBoundary: emit(Op::NotWordBoundary); return true;
      case NodeKind::Backref:
        program_.needsBacktracking = true;
        emit(Op::Backref, n.group);
        return true;
      case NodeKind::Group:
        emit(Op::Save, 2 * n.group);
        if (!node(*n.children[0])) return false;
        emit(Op::Save, 2 * n.group + 1);
        return true;
      case NodeKind::NonCapture: return node(*n.children[0]);
      case NodeKind::LookAhead:
      case NodeKind::NegativeLookAhead: {
        program_.needsBacktracking = true;
        const std::uint32_t look = emit(Op::Look, 0, n.kind == NodeKind::NegativeLookAhead ? 1 : 0);
        if (!node(*n.children[0])) return false;
        emit(Op::LookEnd);
        program_.code[look].a = here();
        return true;
      }
      case NodeKind::Concat:
        for (const auto& child : n.children)
          if (!node(*child)) return false;
        return true;
      case NodeKind::Alternation: return alternation(n);
      case NodeKind::Repeat: return repeat(n);
    }
    return false;
  }

  bool alternation(const Node& n) {
    std::vector<std::uint32_t> jumpsToEnd;
    for (size_t i = 0; i < n.children.size(); ++i) {
      const bool last = i + 1 == n.children.size();
      std::uint32_t split = 0;
      if (!last) split = emit(Op::Split, here() + 1);
      if (!node(*n.children[i])) return false;
      if (!last) {
        jumpsToEnd.push_back(emit(Op::Jump));
        program_.code[split].b = here();
      }
    }
    for (std::uint32_t jump : jumpsToEnd) program_.code[jump].a = here();
    return true;
  }

  // One optional repetition of n's child: the body runs inside a loop
  // region whose check refuses a repetition that consumed nothing (not
  // needed when the body always consumes something).
  bool optionalBody(const Node& n) {
    if (!canMatchEmpty(*n.children[0])) {
      if (!n.greedy && n.firstGroup < n.endGroup) emit(Op::ClearGroups, n.firstGroup, n.endGroup);
      return node(*n.children[0]);
    }
    const std::uint32_t slot = depth_;
    emit(Op::LoopStart, slot);
    ++depth_;
    program_.loopSlots = std::max<std::uint32_t>(program_.loopSlots, depth_);
    if (!n.greedy && n.firstGroup < n.endGroup) emit(Op::ClearGroups, n.firstGroup, n.endGroup);
    if (!node(*n.children[0])) return false;
    emit(Op::LoopCheck, slot);
    --depth_;
    return true;
  }

  // Split towards body (greedy) or past it (lazy); the open end is filled in later.
  std::uint32_t branch(const Node& n) {
    const std::uint32_t split = emit(Op::Split);
    if (n.greedy)
      program_.code[split].a = here();
    else
      program_.code[split].b = here();
    return split;
  }

  void pointPast(const Node& n, std::uint32_t split, std::uint32_t target) {
    if (n.greedy)
      program_.code[split].b = target;
    else
      program_.code[split].a = target;
  }

  bool repeat(const Node& n) {
    for (std::uint32_t i = 0; i < n.min; ++i) {
      // A lazy repetition forgets the previous round's captures, except
      // before its very first round.
      if (!n.greedy && i > 0 && n.firstGroup < n.endGroup) emit(Op::ClearGroups, n.firstGroup, n.endGroup);
      if (!node(*n.children[0])) return false;
    }
    if (n.max == kUnbounded) {
      const std::uint32_t split = branch(n);
      if (!optionalBody(n)) return false;
      emit(Op::Jump, split);
      pointPast(n, split, here());
      return true;
    }
    std::vector<std::uint32_t> splits;
    for (std::uint32_t i = n.min; i < n.max; ++i) {
      splits.push_back(branch(n));
      if (!optionalBody(n)) return false;
    }
    for (std::uint32_t split : splits) pointPast(n, split, here());
    return true;
  }

  Program& program_;
  bool ignoreCase_;
  std::uint16_t depth_ = 0;
};

enum class Lead { Chars, Transparent, Unknown };

// What a match of n must begin with: some of a few code units, nothing
// (zero width), or anything.
Lead leadOf(const Node& n, bool ignoreCase, std::vector<char16_t>& chars) {
  switch (n.kind) {
    case NodeKind::Char:
      if (ignoreCase) {
        for (char16_t c : caseEquivalents(n.ch)) chars.push_back(c);
      } else {
        chars.push_back(n.ch);
      }
      return Lead::Chars;
    case NodeKind::Set: {
      size_t count = 0;
      for (const auto& [first, last] : n.set.ranges) count += static_cast<size_t>(last - first) + 1;
      if (count == 0 || count > kMaxFirstChars) return Lead::Unknown;
      for (const auto& [first, last] : n.set.ranges)
        for (unsigned c = first; c <= last; ++c) chars.push_back(static_cast<char16_t>(c));
      return Lead::Chars;
    }
    case NodeKind::Empty:
    case NodeKind::LineStart:
    case NodeKind::LineEnd:
    case NodeKind::WordBoundary:
    case NodeKind::NotWordBoundary:
    case NodeKind::LookAhead:
    case NodeKind::NegativeLookAhead: return Lead::Transparent;
    case NodeKind::Any:
    case NodeKind::Backref: return Lead::Unknown;
    case NodeKind::Group:
    case NodeKind::NonCapture: return leadOf(*n.children[0], ignoreCase, chars);
    case NodeKind::Concat:
      for (const auto& child : n.children) {
        const Lead lead = leadOf(*child, ignoreCase, chars);
        if (lead != Lead::Transparent) return lead;
      }
      return Lead::Transparent;
    case NodeKind::Alternation:
      for (const auto& child : n.children)
        if (leadOf(*child, ignoreCase, chars) != Lead::Chars) return Lead::Unknown;
      return Lead::Chars;
    case NodeKind::Repeat: {
      if (n.max == 0) return Lead::Transparent;
      const Lead lead = leadOf(*n.children[0], ignoreCase, chars);
      if (n.min >= 1 || lead == Lead::Transparent) return lead;
      return Lead::Unknown;
    }
  }
  return Lead::Unknown;
}

bool isWordChar(char16_t c) {
  return c < 0x80 && ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_');
}

}  // namespace

std::optional<Program> compilePattern(std::u16string_view pattern, bool ignoreCase) {
  auto syntax = parsePattern(pattern, ignoreCase);
  if (!syntax) return std::nullopt;
  Program program;
  program.groupCount = syntax->groupCount;
  if (!Compiler(program, ignoreCase).compile(*syntax->root)) return std::nullopt;
  if (program.code.size() > kMaxInstructions) return std::nullopt;
  std::vector<char16_t> chars;
  if (leadOf(*syntax->root, ignoreCase, chars) == Lead::Chars) {
    std::sort(chars.begin(), chars.end());
    chars.erase(std::unique(chars.begin(), chars.end()), chars.end());
    if (chars.size() <= kMaxFirstChars) program.firstChars = std::move(chars);
  }
  return program;
}

// The documented line terminators of the system object: line feed and
// carriage return.
bool isLineBreak(char16_t c) { return c == u'\n' || c == u'\r'; }

bool atLineStart(std::u16string_view text, std::size_t pos, bool multiline) {
  return pos == 0 || (multiline && isLineBreak(text[pos - 1]));
}

bool atLineEnd(std::u16string_view text, std::size_t pos, bool multiline) {
  return pos == text.size() || (multiline && isLineBreak(text[pos]));
}

bool atWordBoundary(std::u16string_view text, std::size_t pos) {
  const bool before = pos > 0 && isWordChar(text[pos - 1]);
  const bool after = pos < text.size() && isWordChar(text[pos]);
  return before != after;
}

}  // namespace qova::regex
