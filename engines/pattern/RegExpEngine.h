#pragma once
// One run's regular-expression engine behind PatternMatcher: the system's
// "VBScript.RegExp" object, or our own matcher where Windows no longer has
// it. Both give the same observable results.
#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <string>
#include <string_view>

namespace qova {

class RegExpEngine {
 public:
  // A match's or group's text with the "FirstIndex" of its match (0 when
  // there is no such match).
  struct Found {
    std::wstring text;
    long firstIndex = 0;
  };

  virtual ~RegExpEngine() = default;

  virtual void setOptions(bool ignoreCase, bool multiline, bool global) = 0;
  virtual void setPattern(std::wstring_view pattern) = 0;
  // Runs "Execute"; false when it gave no match collection (invalid pattern).
  virtual bool execute(const VARIANT& subject) = 0;
  // The collection's "Count"; 0 without a collection.
  virtual int matchCount() = 0;
  // Match index (0-based); empty when out of range.
  virtual Found match(long long index) = 0;
  // Group group (0-based) of match index; empty text when either is out of
  // range or the group took no part.
  virtual Found group(long long index, long long group) = 0;
  // The number of groups of the first match; 0 when there is no match.
  virtual int groupCount() = 0;
  // "Replace" over subject; empty on failure.
  virtual std::wstring replace(const VARIANT& subject, std::wstring_view replacement) = 0;
  // The "Pattern" property; empty when it cannot be read.
  virtual std::wstring pattern() = 0;
  // The "IgnoreCase" property as automation text ("0" or "-1").
  virtual std::wstring ignoreCaseText() = 0;
};

// A new "VBScript.RegExp" object; null when the class cannot be created.
std::unique_ptr<RegExpEngine> createSystemRegExp();

// Our own matcher; never null.
std::unique_ptr<RegExpEngine> createOwnRegExp();

}  // namespace qova
