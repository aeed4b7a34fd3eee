#include "tests/support/FolderSpellings.h"

#include <windows.h>

#include <algorithm>

#include "runtime/AnsiText.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

// Wine's own export; the Unix path in the Unix code page (UTF-8).
std::string unixPathOf(const std::string& path) {
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  const auto unixFileName = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixFileName) return {};
  char* unixPath = unixFileName(ansiToWide(path).c_str());
  if (!unixPath) return {};
  std::string result(unixPath);
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  return result;
}

}  // namespace

std::string driveZSpellingOf(const std::string& path) {
  const std::string unixPath = unixPathOf(path);
  // The Unix path is UTF-8: only an ASCII one is the same in every code page.
  if (unixPath.empty() || unixPath.front() != '/' ||
      std::any_of(unixPath.begin(), unixPath.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
    return {};
  std::string spelling = "Z:" + unixPath;
  std::replace(spelling.begin(), spelling.end(), '/', '\\');
  return spelling;
}

bool linkFolder(const std::string& folder, const std::string& link) {
  const std::string target = unixPathOf(folder);
  const std::string name = unixPathOf(link);
  if (target.empty() || name.empty()) return false;
  // Wine starts Unix programs too; it has no junctions of its own.
  TestProcess ln("Z:\\bin\\ln", "-s \"" + target + "\" \"" + name + "\"");
  return ln.waitForExit(std::chrono::seconds(20)) == std::optional<DWORD>(0) &&
         ::GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace qova::test
