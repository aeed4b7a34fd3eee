#include "library/ThumbnailAnswer.h"

#include "engines/pattern/PatternMatcher.h"

namespace qova {
namespace {
constexpr const char* kThumbnailAnswerPattern = "#<(.*?)>#<(.*?)>";
}  // namespace

std::optional<ThumbnailAnswer> readThumbnailAnswer(PatternMatcher& matcher, const std::string& answer) {
  matcher.run(kThumbnailAnswerPattern, answer);
  if (matcher.matchCount() == 0) return std::nullopt;
  return ThumbnailAnswer{matcher.groupText(1, 1), matcher.groupText(1, 2)};
}

}  // namespace qova
