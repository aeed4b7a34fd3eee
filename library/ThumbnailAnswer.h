#pragma once
// What the frame-capture library (screenshot.dll) answers for a new video:
// "#<" name ">#<" thumbnail path ">", possibly among other text.
#include <optional>
#include <string>

namespace qova {

class PatternMatcher;

struct ThumbnailAnswer {
  std::string name;
  std::string thumbnailPath;
};

// The name and thumbnail of the answer's first match, found with `matcher`;
// nothing when the answer holds no name and thumbnail pair.
std::optional<ThumbnailAnswer> readThumbnailAnswer(PatternMatcher& matcher, const std::string& answer);

}  // namespace qova
