#pragma once
// The program's regular-expression matcher: the system's "VBScript.RegExp"
// object driven late-bound by member names, made for one piece of text.
// run() sets the pattern and options and keeps the matches; the other
// operations read texts out of them. Texts are ANSI (the system code page);
// match and group numbers are 1-based. Where Windows can no longer create
// "VBScript.RegExp", our own matcher gives the same results, so that a
// library file does not suddenly read as empty.
#include <memory>
#include <string>
#include <string_view>

#include "engines/pattern/ComDispatch.h"

namespace qova {

class RegExpEngine;

enum class PatternEngine {
  System,  // "VBScript.RegExp", our own matcher where it cannot be created
  Own,     // always our own matcher
};

class PatternMatcher {
 public:
  // Initialises COM on this thread (single-threaded apartment); the engine
  // is the system's unless preferOwnEngine(true) was called.
  PatternMatcher();
  explicit PatternMatcher(PatternEngine engine);
  ~PatternMatcher();
  PatternMatcher(const PatternMatcher&) = delete;
  PatternMatcher& operator=(const PatternMatcher&) = delete;

  // Runs pattern over subject with a new engine; true when it gave a match
  // collection (also an empty one), false for an invalid pattern. With
  // quoteToken every "#引号" in the pattern stands for a double quote.
  bool run(std::string_view pattern, std::string_view subject, bool caseSensitive = false, bool multiline = true,
           bool global = true, bool quoteToken = false);

  // The number of matches; 0 when there is no match collection.
  int matchCount() const;

  // The text of match number match (1-based); empty when there is none.
  // position, when given, receives the byte offset of that text in the
  // subject, searched from the match's character index, or -2.
  std::string matchText(int match, int* position = nullptr) const;

  // The text of group group of match number match (both 1-based); empty
  // when either does not exist or the group took no part. position as for
  // matchText (searched from the start of the whole match).
  std::string groupText(int match, int group, int* position = nullptr) const;

  // The number of groups of the first match; 0 when there is no match.
  int groupCount() const;

  // The subject of the last run with its matches replaced by replacement
  // ("$1", "$&" ... as the engine knows them); empty without a run.
  std::string replace(std::string_view replacement) const;

  // The pattern of the last run as the engine holds it; empty without one.
  std::string pattern() const;

  // Makes default-constructed matchers use our own matcher (true) or the
  // system's again (false). For tests and for systems without VBScript.
  static void preferOwnEngine(bool own);

 private:
  int positionOf(const std::string& text, long firstIndex) const;

  PatternEngine preferred_;
  bool comInitialized_ = false;
  std::unique_ptr<RegExpEngine> engine_;  // the engine and its matches
  UniqueVariant subject_;
};

}  // namespace qova
