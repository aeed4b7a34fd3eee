#include "engines/pattern/PatternMatcher.h"

#include <objbase.h>

#include <atomic>

#include "engines/pattern/AnsiPosition.h"
#include "engines/pattern/RegExpEngine.h"
#include "runtime/AnsiText.h"

namespace qova {
namespace {

std::atomic<bool> ownEngineByDefault{false};

// "#引号" (number sign and the word for quotation mark) stands for '"' in
// patterns written where a double quote cannot be.
std::string withQuotes(std::string_view pattern) {
  constexpr std::string_view token = "#引号";
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    if (pattern.substr(i, token.size()) == token) {
      out += '"';
      i += token.size();
    } else {
      out += pattern[i++];
    }
  }
  return out;
}

}  // namespace

PatternMatcher::PatternMatcher()
    : PatternMatcher(ownEngineByDefault ? PatternEngine::Own : PatternEngine::System) {}

PatternMatcher::PatternMatcher(PatternEngine engine) : preferred_(engine) {
  // Uninitialised again only when this call counted: a thread already in
  // another apartment must keep its own initialisation.
  comInitialized_ = SUCCEEDED(::CoInitialize(nullptr));
  subject_ = UniqueVariant::integer(0);
}

PatternMatcher::~PatternMatcher() {
  engine_.reset();
  subject_.clear();
  if (comInitialized_) ::CoUninitialize();
}

void PatternMatcher::preferOwnEngine(bool own) { ownEngineByDefault = own; }

bool PatternMatcher::run(std::string_view pattern, std::string_view subject, bool caseSensitive, bool multiline,
                         bool global, bool quoteToken) {
  engine_.reset();
  if (preferred_ == PatternEngine::System) engine_ = createSystemRegExp();
  if (!engine_) engine_ = createOwnRegExp();
  engine_->setOptions(!caseSensitive, multiline, global);
  engine_->setPattern(ansiToWide(quoteToken ? withQuotes(pattern) : std::string(pattern)));
  subject_ = UniqueVariant::text(ansiToWide(subject));
  return engine_->execute(subject_.get());
}

int PatternMatcher::matchCount() const { return engine_ ? engine_->matchCount() : 0; }

std::string PatternMatcher::matchText(int match, int* position) const {
  RegExpEngine::Found found;
  if (engine_) found = engine_->match(static_cast<long long>(match) - 1);
  std::string text = wideToAnsi(found.text);
  if (position) *position = positionOf(text, found.firstIndex);
  return text;
}

std::string PatternMatcher::groupText(int match, int group, int* position) const {
  RegExpEngine::Found found;
  if (engine_) found = engine_->group(static_cast<long long>(match) - 1, static_cast<long long>(group) - 1);
  std::string text = wideToAnsi(found.text);
  if (position) *position = positionOf(text, found.firstIndex);
  return text;
}

int PatternMatcher::groupCount() const { return engine_ ? engine_->groupCount() : 0; }

std::string PatternMatcher::replace(std::string_view replacement) const {
  if (!engine_) return {};
  return wideToAnsi(engine_->replace(subject_.get(), ansiToWide(replacement)));
}

std::string PatternMatcher::pattern() const { return engine_ ? wideToAnsi(engine_->pattern()) : std::string{}; }

// The search compares letters regardless of case when "IgnoreCase" reads
// back as "0", that is when case was asked to matter: kept as the program
// always behaved.
int PatternMatcher::positionOf(const std::string& text, long firstIndex) const {
  const bool foldCase = engine_ && engine_->ignoreCaseText() == L"0";
  return ansiPositionOf(wideToAnsi(subject_.toText()), text, firstIndex, foldCase);
}

}  // namespace qova
