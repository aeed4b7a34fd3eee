#include "library/UnusedThumbnail.h"

#include <windows.h>

#include <string_view>

#include "runtime/AnsiText.h"
#include "runtime/ProgramDirectory.h"

namespace qova {
namespace {

// The full path of an ANSI path, "." and ".." resolved; empty on failure.
std::wstring fullPathOf(const std::string& path) {
  const std::wstring wide = ansiToWide(path);
  if (wide.empty()) return {};
  const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return {};
  full.resize(written);
  return full;
}

bool isDirectlyInside(std::wstring_view path, std::wstring_view folder) {
  if (folder.empty() || path.size() <= folder.size() + 1 || path[folder.size()] != L'\\') return false;
  if (!sameTextIgnoringCase(path.substr(0, folder.size()), folder)) return false;
  return path.substr(folder.size() + 1).find_first_of(L"\\/") == std::wstring_view::npos;
}

}  // namespace

void deleteThumbnailIfUnused(const std::string& thumbnailPath,
                             const std::vector<std::string>& thumbnailsInUse) {
  const std::wstring thumbnail = fullPathOf(thumbnailPath);
  if (!isDirectlyInside(thumbnail, fullPathOf(programFile("thumbs")))) return;
  for (const std::string& inUse : thumbnailsInUse)
    if (sameTextIgnoringCase(fullPathOf(inUse), thumbnail)) return;
  ::DeleteFileW(thumbnail.c_str());
}

}  // namespace qova
