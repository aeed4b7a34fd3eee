#include "runtime/AnsiPath.h"

#include <windows.h>

#include <optional>

#include "runtime/AnsiText.h"

namespace qova {
namespace {

// The short form of an existing file's path; empty when the volume keeps no
// short names or the file cannot be found.
std::wstring shortPathOf(const std::wstring& widePath) {
  const DWORD needed = ::GetShortPathNameW(widePath.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring shortPath(needed, L'\0');
  const DWORD written = ::GetShortPathNameW(widePath.c_str(), shortPath.data(), needed);
  if (written == 0 || written >= needed) return {};
  shortPath.resize(written);
  return shortPath;
}

AnsiPath fitting(const std::wstring& widePath) {
  const std::optional<std::string> ansi = exactAnsi(widePath);
  if (!ansi) return {{}, AnsiPathProblem::Characters};
  if (ansi->size() > kLongestAnsiPath) return {{}, AnsiPathProblem::Length};
  return {*ansi, AnsiPathProblem::None};
}

}  // namespace

AnsiPath ansiPathOf(const std::wstring& widePath) {
  const AnsiPath longForm = fitting(widePath);
  if (longForm.problem == AnsiPathProblem::None) return longForm;
  const std::wstring shortPath = shortPathOf(widePath);
  if (!shortPath.empty()) {
    AnsiPath shortForm = fitting(shortPath);
    if (shortForm.problem == AnsiPathProblem::None) return shortForm;
  }
  return longForm;
}

}  // namespace qova
