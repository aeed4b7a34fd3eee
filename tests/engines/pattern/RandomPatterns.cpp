#include "tests/engines/pattern/RandomPatterns.h"

#include <array>
#include <string_view>
#include <vector>

namespace qova::test {
namespace {

constexpr std::u16string_view kSubjectAlphabet = u"abcABx<>#_1 \r\n中文视频";

class PatternWriter {
 public:
  PatternWriter(Dice& dice, const PatternOptions& options) : dice_(dice), options_(options) {}

  std::u16string pattern() {
    std::u16string out;
    disjunction(out, 0);
    return out;
  }

 private:
  void disjunction(std::u16string& out, int depth) {
    alternative(out, depth);
    while (depth < 3 && dice_.chance(15)) {
      out += u'|';
      alternative(out, depth);
    }
  }

  void alternative(std::u16string& out, int depth) {
    const std::uint32_t terms = 1 + dice_.below(depth == 0 ? 5 : 3);
    for (std::uint32_t i = 0; i < terms; ++i) term(out, depth);
  }

  void term(std::u16string& out, int depth) {
    if (!strict_ && dice_.chance(8)) {
      static constexpr std::array<std::u16string_view, 4> assertions{u"^", u"$", u"\\b", u"\\B"};
      out += assertions[dice_.below(assertions.size())];
      return;
    }
    const std::uint32_t groupsBefore = groups_;
    const bool grouped = atom(out, depth);
    // Wine's object loses captures made under a lazy repetition on some
    // backtracking paths (an outer group empty, a group inside it set), so
    // groups that capture are repeated greedily only.
    if (dice_.chance(35)) quantifier(out, grouped, groups_ == groupsBefore);
  }

  // Writes an atom; true when it is a group (which may match nothing).
  bool atom(std::u16string& out, int depth) {
    const std::uint32_t kind = dice_.below(100);
    if (kind < 40) {
      static constexpr std::array<std::u16string_view, 14> literals{
          u"a", u"b", u"c", u"A", u"x", u"<", u">", u"#", u"中", u"文", u"视", u"\\.", u"1", u"_"};
      out += literals[dice_.below(literals.size())];
    } else if (kind < 52) {
      out += u'.';
    } else if (kind < 64) {
      static constexpr std::array<std::u16string_view, 12> classes{
          u"[abc]", u"[^a<]", u"[a-c]", u"[^>]", u"[\\d_]", u"[中-视]", u"[^\\n]", u"[A-Z]",
          u"[\\s]", u"[<>]", u"[^]", u"[\\w#]"};
      out += classes[dice_.below(classes.size())];
    } else if (kind < 74) {
      static constexpr std::array<std::u16string_view, 11> escapes{
          u"\\d", u"\\w", u"\\s", u"\\D", u"\\W", u"\\S", u"\\n", u"\\r", u"\\x41", u"\\u4E2D", u"\\x3c"};
      out += escapes[dice_.below(escapes.size())];
    } else if (kind < 94 && depth < 3) {
      const std::uint32_t form = dice_.below(100);
      std::uint32_t number = 0;
      if (form < 60) {
        out += u'(';
        number = ++groups_;
      } else if (form < 85 || !options_.lookAheads || strict_) {
        out += u"(?:";
      } else if (dice_.chance(50)) {
        out += u"(?=";
      } else {
        // Wine's object lets a negative look-ahead whose body matched
        // nothing succeed; its bodies here always consume something.
        out += u"(?!";
        const bool wasStrict = strict_;
        strict_ = true;
        disjunction(out, depth + 1);
        strict_ = wasStrict;
        out += u')';
        return true;
      }
      disjunction(out, depth + 1);
      out += u')';
      if (number) closed_.push_back(number);
      return true;
    } else if (kind < 97 && options_.backReferences && !closed_.empty() && !strict_) {
      // Only to groups already closed: a reference from inside its own
      // group makes Wine's object stray from the documented behaviour.
      const std::uint32_t number = closed_[dice_.below(static_cast<std::uint32_t>(closed_.size()))];
      if (number > 9) return false;
      out += u'\\';
      out += static_cast<char16_t>(u'0' + number);
    } else {
      out += u"视频";
    }
    return false;
  }

  void quantifier(std::u16string& out, bool grouped, bool mayBeLazy) {
    static constexpr std::array<std::u16string_view, 8> forms{u"*", u"+", u"?", u"{2}", u"{1,}", u"{0,2}",
                                                              u"{1,3}", u"{0}"};
    std::u16string_view form = forms[dice_.below(forms.size())];
    const bool nonEmpty = !options_.canMatchEmpty || strict_;
    if (nonEmpty && (form == u"*" || form == u"?" || form == u"{0,2}" || form == u"{0}")) form = u"+";
    if (nonEmpty && grouped) form = u"{1,3}";
    out += form;
    if (mayBeLazy && dice_.chance(40)) out += u'?';
  }

  Dice& dice_;
  const PatternOptions& options_;
  std::uint32_t groups_ = 0;
  bool strict_ = false;  // writing something that must consume text
  std::vector<std::uint32_t> closed_;
};

// Edits that make a pattern invalid (or test the old engine's leniency).
void damage(Dice& dice, std::u16string& pattern) {
  static constexpr std::array<std::u16string_view, 14> edits{
      u"(", u")", u"[", u"*", u"a**", u"{2}", u"a{3,1}", u"\\", u"[z-a]", u"(?", u"a{2}{3}", u"\\8", u"{,2}", u"x{99999}"};
  const std::u16string_view edit = edits[dice.below(edits.size())];
  const std::size_t at = dice.below(static_cast<std::uint32_t>(pattern.size() + 1));
  pattern.insert(at, edit);
}

}  // namespace

std::u16string randomPattern(Dice& dice, const PatternOptions& options) {
  std::u16string pattern = PatternWriter(dice, options).pattern();
  if (options.damaged && dice.chance(12)) damage(dice, pattern);
  return pattern;
}

std::u16string randomSubject(Dice& dice, std::uint32_t maxLength) {
  std::u16string subject;
  const std::uint32_t length = dice.below(maxLength);
  for (std::uint32_t i = 0; i < length; ++i)
    subject += kSubjectAlphabet[dice.below(static_cast<std::uint32_t>(kSubjectAlphabet.size()))];
  return subject;
}

}  // namespace qova::test
