// libFuzzer target for our own matcher: any pattern over any subject must
// neither crash nor hang, results must lie inside the subject, and the
// breadth-first and depth-first matchers must agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engines/pattern/BacktrackSearch.h"
#include "engines/pattern/OwnRegExp.h"
#include "engines/pattern/PikeSearch.h"
#include "engines/pattern/RegexProgram.h"

namespace {

// Bytes become pattern pieces: the metacharacters and escapes the
// language has, plus characters of the texts the program matches.
constexpr std::u16string_view kPatternAlphabet =
    u"ab<>.*+?()[]{}|^$\\-,:=!0123789dDwWsSbBnrtvfxuc^A_#视频\r\n";
constexpr std::u16string_view kSubjectAlphabet = u"abAB<>_#1 \r\n视频\u3000";

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qova::regex;
  if (size < 2) return 0;
  const std::uint8_t flags = data[0];
  const std::size_t patternLength = std::min<std::size_t>(data[1] % 48, size - 2);
  std::u16string pattern;
  for (std::size_t i = 0; i < patternLength; ++i) pattern += kPatternAlphabet[data[2 + i] % kPatternAlphabet.size()];
  std::u16string subject;
  for (std::size_t i = 2 + patternLength; i < size && subject.size() < 200; ++i)
    subject += kSubjectAlphabet[data[i] % kSubjectAlphabet.size()];

  OwnRegExp re;
  re.setPattern(pattern);
  re.setIgnoreCase(flags & 1);
  re.setMultiline(flags & 2);
  re.setGlobal(flags & 4);
  const auto matches = re.execute(subject);
  if (matches) {
    for (const OwnMatch& m : *matches) {
      check(m.index >= 0 && m.length >= 0 && static_cast<std::size_t>(m.index + m.length) <= subject.size());
      for (const auto& [start, length] : m.groups)
        check(start < 0 || static_cast<std::size_t>(start + length) <= subject.size());
    }
    re.replace(subject, u"[$1$&$`$'$$$12]");
  }

  const auto program = compilePattern(pattern, flags & 1);
  if (!program || program->needsBacktracking) return 0;
  PikeSearch pike(*program, subject, flags & 2);
  BacktrackSearch backtrack(*program, subject, flags & 2, flags & 1, 2'000'000);
  std::vector<std::int32_t> pikeSlots, backtrackSlots;
  const auto outcome = backtrack.find(0, backtrackSlots);
  if (outcome == BacktrackSearch::Outcome::TooComplex) return 0;
  check(pike.find(0, pikeSlots) == (outcome == BacktrackSearch::Outcome::Found));
  if (outcome == BacktrackSearch::Outcome::Found) check(pikeSlots == backtrackSlots);
  return 0;
}
