#include "runtime/ProgramDirectory.h"

#include <windows.h>

#include <vector>

namespace qova {

std::string programDirectory() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      std::string path(buffer.data(), length);
      auto slash = path.find_last_of('\\');
      return slash == std::string::npos ? std::string{} : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string programFile(std::string_view name) {
  std::string path = programDirectory();
  path += '\\';
  path += name;
  return path;
}

std::wstring modulePath(void* module) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(static_cast<HMODULE>(module), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring programExecutablePath() {
  std::wstring path = modulePath(nullptr);
  if (path.empty()) return path;
  const DWORD longLength = ::GetLongPathNameW(path.c_str(), nullptr, 0);
  if (longLength == 0) return path;
  std::wstring longPath(longLength, L'\0');
  const DWORD written = ::GetLongPathNameW(path.c_str(), longPath.data(), longLength);
  if (written == 0 || written >= longLength) return path;
  longPath.resize(written);
  return longPath;
}

}  // namespace qova
