#include "engines/pattern/OwnRegExp.h"

#include <limits>

#include "engines/pattern/BacktrackSearch.h"
#include "engines/pattern/PikeSearch.h"

namespace qova::regex {
namespace {

constexpr std::uint64_t kQuickStepsBase = 100'000;
constexpr std::uint64_t kQuickStepsPerCodeUnit = 32;
constexpr std::size_t kQuickMaxFrames = std::size_t{1} << 20;

OwnMatch matchFromSlots(const std::vector<std::int32_t>& slots, std::uint32_t groupCount) {
  OwnMatch match;
  match.index = slots[0];
  match.length = slots[1] - slots[0];
  match.groups.reserve(groupCount);
  for (std::uint32_t g = 1; g <= groupCount; ++g) {
    const std::int32_t start = slots[2 * g];
    const std::int32_t end = slots[2 * g + 1];
    if (start < 0 || end < 0)
      match.groups.emplace_back(-1, 0);
    else
      match.groups.emplace_back(start, end - start);
  }
  return match;
}

// Runs search (PikeSearch or BacktrackSearch) over the text the way
// "Execute" does: after an empty match the next search starts one code
// unit further on.
template <typename Find>
std::optional<std::vector<OwnMatch>> collectMatches(std::size_t length, bool global, std::uint32_t groupCount,
                                                    Find&& find) {
  std::vector<OwnMatch> matches;
  std::vector<std::int32_t> slots;
  std::size_t from = 0;
  while (from <= length) {
    const auto found = find(from, slots);
    if (!found) return std::nullopt;
    if (!*found) break;
    matches.push_back(matchFromSlots(slots, groupCount));
    if (!global) break;
    const auto end = static_cast<std::size_t>(slots[1]);
    from = slots[1] == slots[0] ? end + 1 : end;
  }
  return matches;
}

}  // namespace

void OwnRegExp::setPattern(std::u16string_view pattern) {
  pattern_.assign(pattern);
  compiled_ = false;
}

const Program* OwnRegExp::program() const {
  if (!compiled_ || compiledIgnoringCase_ != ignoreCase_) {
    program_ = compilePattern(pattern_, ignoreCase_);
    compiled_ = true;
    compiledIgnoringCase_ = ignoreCase_;
  }
  return program_ ? &*program_ : nullptr;
}

std::optional<std::vector<OwnMatch>> OwnRegExp::execute(std::u16string_view subject) const {
  const Program* code = program();
  if (!code || subject.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    return std::nullopt;
  if (code->needsBacktracking) {
    BacktrackSearch search(*code, subject, multiline_, ignoreCase_);
    return collectMatches(subject.size(), global_, code->groupCount,
                          [&](std::size_t from, std::vector<std::int32_t>& slots) -> std::optional<bool> {
                            const auto outcome = search.find(from, slots);
                            if (outcome == BacktrackSearch::Outcome::TooComplex) return std::nullopt;
                            return outcome == BacktrackSearch::Outcome::Found;
                          });
  }
  // Depth-first search is several times faster on ordinary text; once it
  // has spent its budget (a hostile pattern) the breadth-first one, which
  // finds the same matches in linear time, takes over.
  BacktrackSearch quick(*code, subject, multiline_, ignoreCase_, kQuickStepsBase + kQuickStepsPerCodeUnit * subject.size(),
                        kQuickMaxFrames);
  bool quickSpent = false;
  PikeSearch steady(*code, subject, multiline_);
  return collectMatches(subject.size(), global_, code->groupCount,
                        [&](std::size_t from, std::vector<std::int32_t>& slots) -> std::optional<bool> {
                          if (!quickSpent) {
                            const auto outcome = quick.find(from, slots, &from);
                            if (outcome != BacktrackSearch::Outcome::TooComplex)
                              return outcome == BacktrackSearch::Outcome::Found;
                            quickSpent = true;
                          }
                          return steady.find(from, slots);
                        });
}

std::optional<std::u16string> OwnRegExp::replace(std::u16string_view subject, std::u16string_view replacement) const {
  const auto matches = execute(subject);
  if (!matches) return std::nullopt;
  std::u16string result;
  std::size_t copied = 0;
  for (const OwnMatch& match : *matches) {
    const auto start = static_cast<std::size_t>(match.index);
    result.append(subject.substr(copied, start - copied));
    result.append(expandReplacement(replacement, subject, match));
    copied = start + static_cast<std::size_t>(match.length);
  }
  result.append(subject.substr(copied));
  return result;
}

std::u16string expandReplacement(std::u16string_view replacement, std::u16string_view subject, const OwnMatch& match) {
  const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  const auto start = static_cast<std::size_t>(match.index);
  const auto end = start + static_cast<std::size_t>(match.length);
  const std::size_t groupCount = match.groups.size();
  std::u16string out;
  std::size_t i = 0;
  while (i < replacement.size()) {
    const char16_t c = replacement[i];
    const char16_t next = i + 1 < replacement.size() ? replacement[i + 1] : u'\0';
    if (c != u'$') {
      out.push_back(c);
      ++i;
      continue;
    }
    switch (next) {
      case u'$': out.push_back(u'$'); i += 2; continue;
      case u'&': out.append(subject.substr(start, end - start)); i += 2; continue;
      case u'`': out.append(subject.substr(0, start)); i += 2; continue;
      case u'\'': out.append(subject.substr(end)); i += 2; continue;
      default: break;
    }
    std::size_t group = 0;
    std::size_t formLength = 0;
    if (isDigit(next)) {
      const std::size_t one = next - u'0';
      const char16_t third = i + 2 < replacement.size() ? replacement[i + 2] : u'\0';
      const std::size_t two = one * 10 + (third - u'0');
      if (isDigit(third) && two >= 1 && two <= groupCount) {
        group = two;
        formLength = 3;
      } else if (one >= 1 && one <= groupCount) {
        group = one;
        formLength = 2;
      }
    }
    if (formLength == 0) {  // not a form: the "$" stands for itself
      out.push_back(u'$');
      ++i;
      continue;
    }
    const auto& [groupStart, groupLength] = match.groups[group - 1];
    if (groupStart >= 0)
      out.append(subject.substr(static_cast<std::size_t>(groupStart), static_cast<std::size_t>(groupLength)));
    i += formLength;
  }
  return out;
}

}  // namespace qova::regex
