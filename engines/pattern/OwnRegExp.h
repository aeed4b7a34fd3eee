#pragma once
// Our own regular-expression object with the observable behaviour of the
// system's "VBScript.RegExp": the same properties, "Execute" and "Replace",
// positions in UTF-16 code units. Used where Windows no longer provides
// VBScript. Free of Windows headers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engines/pattern/RegexProgram.h"

namespace qova::regex {

struct OwnMatch {
  std::int32_t index = 0;  // "FirstIndex"
  std::int32_t length = 0;
  // Start and length of each capture group; start -1 when it took no part.
  std::vector<std::pair<std::int32_t, std::int32_t>> groups;
};

class OwnRegExp {
 public:
  void setPattern(std::u16string_view pattern);
  const std::u16string& pattern() const { return pattern_; }
  void setIgnoreCase(bool on) { ignoreCase_ = on; }
  bool ignoreCase() const { return ignoreCase_; }
  void setMultiline(bool on) { multiline_ = on; }
  bool multiline() const { return multiline_; }
  void setGlobal(bool on) { global_ = on; }
  bool global() const { return global_; }

  // Every match in subject, left to right (only the first unless Global is
  // on); nullopt when the pattern is invalid or too complex to run.
  std::optional<std::vector<OwnMatch>> execute(std::u16string_view subject) const;

  // subject with the matches that execute finds replaced by replacement,
  // whose "$" forms ($1..$99, $&, $`, $', $$) name parts of each match;
  // nullopt when the pattern is invalid or too complex to run.
  std::optional<std::u16string> replace(std::u16string_view subject, std::u16string_view replacement) const;

 private:
  const Program* program() const;

  std::u16string pattern_;
  bool ignoreCase_ = false;
  bool multiline_ = false;
  bool global_ = false;
  mutable std::optional<Program> program_;
  mutable bool compiled_ = false;
  mutable bool compiledIgnoringCase_ = false;
};

// replacement with its "$" forms filled in from match of subject.
std::u16string expandReplacement(std::u16string_view replacement, std::u16string_view subject, const OwnMatch& match);

}  // namespace qova::regex
