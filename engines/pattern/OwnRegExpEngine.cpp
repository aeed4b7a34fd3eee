// Our own matcher behind the same interface as the system object, for
// systems where "VBScript.RegExp" can no longer be created.
#include <optional>
#include <vector>

#include "engines/pattern/OwnRegExp.h"
#include "engines/pattern/RegExpEngine.h"

namespace qova {
namespace {

std::u16string utf16Of(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }
std::wstring wideOf(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string subjectText(const VARIANT& subject) {
  if (subject.vt != VT_BSTR || !subject.bstrVal) return {};
  return std::u16string(subject.bstrVal, subject.bstrVal + ::SysStringLen(subject.bstrVal));
}

class OwnRegExpEngine final : public RegExpEngine {
 public:
  void setOptions(bool ignoreCase, bool multiline, bool global) override {
    regExp_.setIgnoreCase(ignoreCase);
    regExp_.setMultiline(multiline);
    regExp_.setGlobal(global);
  }

  void setPattern(std::wstring_view pattern) override { regExp_.setPattern(utf16Of(pattern)); }

  bool execute(const VARIANT& subject) override {
    subject_ = subjectText(subject);
    matches_ = regExp_.execute(subject_);
    return matches_.has_value();
  }

  int matchCount() override { return matches_ ? static_cast<int>(matches_->size()) : 0; }

  Found match(long long index) override {
    const regex::OwnMatch* m = find(index);
    if (!m) return {};
    return {textAt(m->index, m->length), m->index};
  }

  Found group(long long index, long long group) override {
    const regex::OwnMatch* m = find(index);
    if (!m) return {};
    if (group < 0 || group >= static_cast<long long>(m->groups.size())) return {{}, m->index};
    const auto [start, length] = m->groups[static_cast<std::size_t>(group)];
    if (start < 0) return {{}, m->index};
    return {textAt(start, length), m->index};
  }

  int groupCount() override {
    if (!matches_ || matches_->empty()) return 0;
    return static_cast<int>(matches_->front().groups.size());
  }

  std::wstring replace(const VARIANT& subject, std::wstring_view replacement) override {
    auto replaced = regExp_.replace(subjectText(subject), utf16Of(replacement));
    return replaced ? wideOf(*replaced) : std::wstring{};
  }

  std::wstring pattern() override { return wideOf(regExp_.pattern()); }

  // Automation writes booleans as "-1" and "0".
  std::wstring ignoreCaseText() override { return regExp_.ignoreCase() ? L"-1" : L"0"; }

 private:
  const regex::OwnMatch* find(long long index) const {
    if (!matches_ || index < 0 || index >= static_cast<long long>(matches_->size())) return nullptr;
    return &(*matches_)[static_cast<std::size_t>(index)];
  }

  std::wstring textAt(std::int32_t start, std::int32_t length) const {
    return wideOf(std::u16string_view(subject_).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
  }

  regex::OwnRegExp regExp_;
  std::u16string subject_;
  std::optional<std::vector<regex::OwnMatch>> matches_;
};

}  // namespace

std::unique_ptr<RegExpEngine> createOwnRegExp() { return std::make_unique<OwnRegExpEngine>(); }

}  // namespace qova
