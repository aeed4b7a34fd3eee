#pragma once
// Conversions between the program's 8-bit ANSI text and UTF-16.
#include <optional>
#include <string>
#include <string_view>

namespace qova {

// ANSI (system code page) text as UTF-16; empty for empty input or failure.
std::wstring ansiToWide(std::string_view text);

// UTF-16 text as ANSI (system code page); characters without a mapping become '?'.
std::string wideToAnsi(std::wstring_view text);

// UTF-16 text as ANSI when every character has its own mapping (no '?' and no
// look-alike put in its place), so that the ANSI text names exactly what the
// UTF-16 text names; nullopt otherwise. Empty for empty text.
std::optional<std::string> exactAnsi(std::wstring_view text);

// Whether the two texts are equal, upper and lower case counting the same (as
// the file system compares names).
bool sameTextIgnoringCase(std::wstring_view a, std::wstring_view b);

// UTF-16LE bytes of ANSI `text` with the terminating NUL; empty for empty text.
std::string toWideBytes(const std::string& text);

}  // namespace qova
