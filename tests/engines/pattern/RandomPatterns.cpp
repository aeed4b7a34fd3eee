#include "tests/engines/pattern/RandomPatterns.h"

#include <array>
#include <string_view>

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
    if (dice_.chance(8)) {
      static constexpr std::array<std::u16string_view, 4> assertions{u"^", u"$", u"\\b", u"\\B"};
      out += assertions[dice_.below(assertions.size())];
      return;
    }
    const bool grouped = atom(out, depth);
    if (dice_.chance(35)) quantifier(out, grouped);
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
      if (form < 60) {
        out += u'(';
        ++groups_;
      } else if (form < 85 || !options_.lookAheads) {
        out += u"(?:";
      } else {
        out += dice_.chance(50) ? u"(?=" : u"(?!";
      }
      disjunction(out, depth + 1);
      out += u')';
      return true;
    } else if (kind < 97 && options_.backReferences && groups_ > 0) {
      out += u'\\';
      out += static_cast<char16_t>(u'1' + dice_.below(groups_ > 3 ? 3 : groups_));
    } else {
      out += u"视频";
    }
    return false;
  }

  void quantifier(std::u16string& out, bool grouped) {
    static constexpr std::array<std::u16string_view, 8> forms{u"*", u"+", u"?", u"{2}", u"{1,}", u"{0,2}",
                                                              u"{1,3}", u"{0}"};
    std::u16string_view form = forms[dice_.below(forms.size())];
    if (!options_.canMatchEmpty && (form == u"*" || form == u"?" || form == u"{0,2}" || form == u"{0}"))
      form = u"+";
    if (!options_.canMatchEmpty && grouped) form = u"{1,3}";
    out += form;
    if (dice_.chance(40)) out += u'?';
  }

  Dice& dice_;
  const PatternOptions& options_;
  std::uint32_t groups_ = 0;
};

}  // namespace

std::u16string randomPattern(Dice& dice, const PatternOptions& options) {
  return PatternWriter(dice, options).pattern();
}

std::u16string randomSubject(Dice& dice, std::uint32_t maxLength) {
  std::u16string subject;
  const std::uint32_t length = dice.below(maxLength);
  for (std::uint32_t i = 0; i < length; ++i)
    subject += kSubjectAlphabet[dice.below(static_cast<std::uint32_t>(kSubjectAlphabet.size()))];
  return subject;
}

}  // namespace qova::test
