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

// Wine starts Unix programs too, given by their command line alone, but
// hands back no process to wait for; it makes no junctions of its own.
bool startUnix(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  if (info.hProcess) ::CloseHandle(info.hProcess);
  if (info.hThread) ::CloseHandle(info.hThread);
  return true;
}

bool exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

FolderLink::FolderLink(const std::string& folder, std::string link) : link_(std::move(link)) {
  const std::string target = unixPathOf(folder);
  unixLink_ = unixPathOf(link_);
  if (target.empty() || unixLink_.empty()) return;
  made_ = startUnix("Z:\\bin\\ln -s \"" + target + "\" \"" + unixLink_ + "\"") &&
          waitUntil([this] { return exists(link_); }, std::chrono::seconds(20));
}

FolderLink::~FolderLink() {
  if (made_ && startUnix("Z:\\bin\\rm -f \"" + unixLink_ + "\""))
    waitUntil([this] { return !exists(link_); }, std::chrono::seconds(20));
}

}  // namespace qova::test
