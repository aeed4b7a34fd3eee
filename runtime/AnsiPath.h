#pragma once
// Paths for the program's ANSI world: the library file, the player and the
// thumbnail maker all take a path as 8-bit text in the ANSI code page, and
// the ANSI file functions take at most MAX_PATH - 1 bytes of it.
#include <cstddef>
#include <string>

namespace qova {

// Why a path has no ANSI form.
enum class AnsiPathProblem {
  None,
  Characters,  // a character of the name has no place in the ANSI code page
  Length,      // every character does, but the path is too long
};

struct AnsiPath {
  std::string path;  // empty unless problem is None
  AnsiPathProblem problem = AnsiPathProblem::None;
};

// The largest ANSI path, in bytes without its NUL, that the program hands on.
inline constexpr std::size_t kLongestAnsiPath = 259;

// `widePath` in the ANSI code page when every character of it has an exact
// place there and it fits kLongestAnsiPath; else the file's short (8.3) path
// when its volume keeps one and that fits; else the problem of the long path
// (Characters before Length).
AnsiPath ansiPathOf(const std::wstring& widePath);

}  // namespace qova
