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

}  // namespace qova
