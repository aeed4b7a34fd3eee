#pragma once
// Generated texts like the ones the program matches: library files (GBK
// paths, CR LF, blank lines, stray labels, broken records) and answers of
// the thumbnail maker. ANSI text (code page 936).
#include <cstdint>
#include <string>

#include "tests/engines/pattern/RandomPatterns.h"

namespace qova::test {

inline constexpr const char* kLibraryPattern = "视频文件<(.*?)>视频图片<(.*?)>视频名称<(.*?)>";
inline constexpr const char* kThumbnailPattern = "#<(.*?)>#<(.*?)>";

// A library file of records records, with some damage when damaged.
std::string libraryFile(Dice& dice, int records, bool damaged);

// An answer of the thumbnail maker, well formed or not.
std::string thumbnailAnswer(Dice& dice);

}  // namespace qova::test
