#pragma once
// Turning a match's character index into a byte offset of the ANSI subject.
#include <string_view>

namespace qova {

// The byte offset in subject of the first occurrence of text at or after
// byte max(firstIndex - 1, 0): an index in UTF-16 characters can only lie
// at or before the byte where the match starts. ignoreCase folds ASCII
// letters. -2 when there is no occurrence; an empty text is found at
// offset 0 whenever a byte of subject lies at or after the start.
int ansiPositionOf(std::string_view subject, std::string_view text, long firstIndex, bool ignoreCase);

}  // namespace qova
