#include "app/VideoFileList.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include "runtime/AnsiText.h"
#include "runtime/UniqueHandle.h"

namespace qova {
namespace {

inline void closeFind(HANDLE find) { ::FindClose(find); }
struct FindTraits {
  using Type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE find) { closeFind(find); }
};
using UniqueFind = UniqueResource<FindTraits>;

// Explorer's name order: "clip 2" before "clip 10", case aside.
bool beforeByName(const std::wstring& a, const std::wstring& b) { return ::StrCmpLogicalW(a.c_str(), b.c_str()) < 0; }

void appendFilesUnder(const std::wstring& folder, std::vector<std::wstring>& files) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base.push_back(L'\\');
  WIN32_FIND_DATAW found{};
  UniqueFind find(::FindFirstFileExW((base + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return;
  std::vector<std::wstring> names, folders;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A linked folder may lead back up the tree.
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) folders.push_back(name);
    } else {
      names.push_back(name);
    }
  } while (::FindNextFileW(find.get(), &found));
  std::sort(names.begin(), names.end(), beforeByName);
  std::sort(folders.begin(), folders.end(), beforeByName);
  for (const std::wstring& name : names) files.push_back(base + name);
  for (const std::wstring& name : folders) appendFilesUnder(base + name, files);
}

}  // namespace

std::wstring fullPathOf(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return path;
  full.resize(written);
  return full;
}

std::vector<std::wstring> filesUnder(const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> files;
  for (const std::wstring& path : paths) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      appendFilesUnder(path, files);
    else
      files.push_back(path);
  }
  return files;
}

bool hasExtension(const std::wstring& path, const std::vector<std::string>& extensions) {
  const size_t dot = path.find_last_of(L".\\/");
  if (dot == std::wstring::npos || path[dot] != L'.') return false;
  std::wstring extension = path.substr(dot);
  for (wchar_t& c : extension)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return std::any_of(extensions.begin(), extensions.end(),
                     [&](const std::string& each) { return ansiToWide(each) == extension; });
}

std::wstring fileIdentity(const std::wstring& path) {
  std::wstring full = fullPathOf(path);
  std::wstring longPath(32768, L'\0');
  const DWORD length = ::GetLongPathNameW(full.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
  if (length > 0 && length < longPath.size()) full.assign(longPath.data(), length);
  if (!full.empty()) ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  return full;
}

}  // namespace qova
