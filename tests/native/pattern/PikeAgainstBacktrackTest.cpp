// The two matchers must agree: the quick depth-first search hands over to
// the breadth-first one in the middle of a run when a pattern turns hostile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/pattern/BacktrackSearch.h"
#include "engines/pattern/PikeSearch.h"
#include "engines/pattern/RegexProgram.h"
#include "tests/engines/pattern/RandomPatterns.h"

namespace {

using namespace qova::regex;

std::string printable(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

TEST(PikeAgainstBacktrack, AgreeOnRandomPatterns) {
  qova::test::Dice dice(20240601);
  qova::test::PatternOptions options;
  options.lookAheads = false;
  options.backReferences = false;
  options.damaged = false;
  int compared = 0;
  int tooComplex = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::u16string pattern = qova::test::randomPattern(dice, options);
    const bool ignoreCase = dice.chance(50);
    const bool multiline = dice.chance(50);
    auto program = compilePattern(pattern, ignoreCase);
    if (!program || program->needsBacktracking) continue;
    for (int s = 0; s < 3; ++s) {
      const std::u16string subject = qova::test::randomSubject(dice, 24);
      PikeSearch pike(*program, subject, multiline);
      BacktrackSearch backtrack(*program, subject, multiline, ignoreCase);
      for (std::size_t from = 0; from <= subject.size(); ++from) {
        std::vector<std::int32_t> pikeSlots, backtrackSlots;
        const bool pikeFound = pike.find(from, pikeSlots);
        const auto outcome = backtrack.find(from, backtrackSlots);
        if (outcome == BacktrackSearch::Outcome::TooComplex) {  // nested repetitions: exponential for depth-first
          ++tooComplex;
          std::printf("too complex for depth-first search: %s\n", printable(pattern).c_str());
          break;
        }
        ASSERT_EQ(pikeFound, outcome == BacktrackSearch::Outcome::Found)
            << printable(pattern) << " on " << printable(subject) << " from " << from;
        if (pikeFound) {
          ASSERT_EQ(pikeSlots, backtrackSlots) << printable(pattern) << " on " << printable(subject) << " from " << from
                                               << (ignoreCase ? " i" : "") << (multiline ? " m" : "");
        }
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 10000);
  EXPECT_LT(tooComplex, 20);
}

TEST(PikeSearch, RunsOverAMegabyteLineWithoutRecursion) {
  auto program = compilePattern(u"(a|b)*?c|(a+)$", false);
  ASSERT_TRUE(program);
  const std::u16string text(1'000'000, u'a');
  PikeSearch pike(*program, text, true);
  std::vector<std::int32_t> slots;
  ASSERT_TRUE(pike.find(0, slots));
  EXPECT_EQ(slots[0], 0);
  EXPECT_EQ(slots[1], 1'000'000);
  EXPECT_EQ(slots[4], 0);  // group 2
}

}  // namespace
