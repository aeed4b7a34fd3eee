#pragma once
// Conversions between the program's 8-bit ANSI text and UTF-16.
#include <string>
#include <string_view>

namespace qova {

// ANSI (system code page) text as UTF-16; empty for empty input or failure.
std::wstring ansiToWide(std::string_view text);

// UTF-16 text as ANSI (system code page); characters without a mapping become '?'.
std::string wideToAnsi(std::wstring_view text);

// UTF-16LE bytes of ANSI `text` with the terminating NUL; empty for empty text.
std::string toWideBytes(const std::string& text);

}  // namespace qova
