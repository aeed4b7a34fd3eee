// The system's "VBScript.RegExp" and our own matcher, run over the same
// generated corpus, must agree on every observable result.
//
// Left out on purpose, where Wine's object differs from the documented
// behaviour of Windows' (which our matcher follows):
// - "." stops at a carriage return under Wine; Windows stops it only at a
//   line feed. Subjects of patterns with "." carry no carriage return.
// - With Global on, Wine's object repeats an empty match for ever; Windows
//   moves on by one character. Patterns that may match nothing run with
//   Global off.
// - Wine's "\s" takes every Unicode space, Windows' only [ \f\n\r\t\v];
//   Wine folds case for ASCII letters only. The corpus has neither non-ASCII
//   spaces nor non-ASCII cased letters in its random part.
// - A negative look-ahead whose body matches the empty text succeeds under
//   Wine (a stale result in its engine); Windows' fails it, as documented.
//   The corpus's negative look-aheads always consume text.
// - Captures under a lazy repetition ("(...(x)...)*?") are sometimes lost
//   by Wine's engine on backtracking (an outer group empty while a group
//   inside it is set); the corpus repeats capturing groups greedily only.
// - A back reference from inside its own group ("(a\1)") does not always
//   match the empty text under Wine; the corpus refers to closed groups.
// - A "$00" replacement makes Wine read outside its captures; none is used.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engines/pattern/PatternMatcher.h"
#include "engines/pattern/RegexProgram.h"
#include "runtime/AnsiText.h"
#include "tests/engines/pattern/LibraryCorpus.h"
#include "tests/engines/pattern/RandomPatterns.h"

namespace {

using qova::PatternEngine;
using qova::PatternMatcher;
using qova::test::Dice;

struct Case {
  std::string pattern;
  std::string subject;
  bool caseSensitive = false;
  bool multiline = true;
  bool global = true;
};

std::string shown(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

constexpr int kMatchesLooked = 40;

// Everything the program (or anyone) can read out of a matcher.
std::string observe(PatternEngine engine, const Case& c) {
  PatternMatcher matcher(engine);
  std::ostringstream out;
  const bool ran = matcher.run(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global);
  const int count = matcher.matchCount();
  const int groups = matcher.groupCount();
  out << "run=" << ran << " count=" << count << " groups=" << groups << " pattern=" << shown(matcher.pattern()) << "\n";
  for (int m = 0; m <= std::min(count, kMatchesLooked) + 1; ++m) {
    int position = -9;
    out << " match " << m << " [" << shown(matcher.matchText(m, &position)) << "]@" << position;
    for (int g = 1; g <= groups + 1; ++g) {
      position = -9;
      out << " " << g << "[" << shown(matcher.groupText(m, g, &position)) << "]@" << position;
    }
    out << "\n";
  }
  for (const char* replacement : {"[$1]", "$&$$", "<$`|$'>", "$2$10x$", "-"})
    out << " replace " << replacement << " -> " << shown(matcher.replace(replacement)) << "\n";
  return out.str();
}

bool mayMatchEmpty(const std::u16string& pattern) {
  auto syntax = qova::regex::parsePattern(pattern, true);
  return syntax && qova::regex::canMatchEmpty(*syntax->root);
}

std::vector<Case> programCases() {
  std::vector<Case> cases;
  Dice dice(936);
  for (int i = 0; i < 80; ++i) {
    Case c;
    c.pattern = qova::test::kLibraryPattern;
    c.subject = qova::test::libraryFile(dice, 1 + static_cast<int>(dice.below(12)), i % 3 != 0);
    if (i % 10 == 9) c.caseSensitive = true;
    if (i % 10 == 8) c.multiline = false;
    if (i % 10 == 7) c.global = false;
    cases.push_back(c);
  }
  for (int i = 0; i < 40; ++i) cases.push_back({qova::test::kThumbnailPattern, qova::test::thumbnailAnswer(dice)});
  return cases;
}

std::vector<Case> randomCases() {
  std::vector<Case> cases;
  Dice dice(20250101);
  for (int i = 0; i < 1500; ++i) {
    const std::u16string pattern = qova::test::randomPattern(dice);
    std::u16string subject = qova::test::randomSubject(dice, 28);
    if (pattern.find(u'.') != std::u16string::npos) std::erase(subject, u'\r');
    Case c;
    c.pattern = qova::wideToAnsi(std::wstring(pattern.begin(), pattern.end()));
    c.subject = qova::wideToAnsi(std::wstring(subject.begin(), subject.end()));
    c.caseSensitive = dice.chance(30);
    c.multiline = dice.chance(70);
    c.global = !mayMatchEmpty(pattern) && dice.chance(80);
    cases.push_back(c);
  }
  return cases;
}

void compareOver(const std::vector<Case>& cases) {
  int disagreements = 0;
  int valid = 0;
  for (const Case& c : cases) {
    const std::string system = observe(PatternEngine::System, c);
    const std::string own = observe(PatternEngine::Own, c);
    if (system.rfind("run=1", 0) == 0) ++valid;
    if (system == own) continue;
    if (++disagreements <= 15)
      ADD_FAILURE() << "pattern " << shown(c.pattern) << " subject " << shown(c.subject) << " caseSensitive "
                    << c.caseSensitive << " multiline " << c.multiline << " global " << c.global
                    << "\nsystem:\n" << system << "own:\n" << own;
  }
  std::printf("%zu cases, %d valid patterns, %d disagreements\n", cases.size(), valid, disagreements);
  EXPECT_EQ(disagreements, 0);
}

TEST(Differential, ProgramPatternsOverLibraryFilesAndThumbnailAnswers) { compareOver(programCases()); }

TEST(Differential, RandomPatternsOverRandomSubjects) { compareOver(randomCases()); }

}  // namespace
