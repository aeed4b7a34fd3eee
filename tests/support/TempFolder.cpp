#include "tests/support/TempFolder.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>

#include "runtime/ProgramDirectory.h"

namespace qova::test {

TempFolder::TempFolder(std::string_view hint) {
  static std::atomic<int> counter{0};
  char base[MAX_PATH + 1] = {};
  ::GetTempPathA(MAX_PATH, base);
  for (;;) {
    path_ = std::string(base) + std::string(hint) + "_" + std::to_string(::GetCurrentProcessId()) +
            "_" + std::to_string(counter++);
    if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

TempFolder::~TempFolder() {
  std::string from = path_;
  from.push_back('\0');  // SHFileOperation takes a double-NUL-terminated list
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  ::SHFileOperationA(&op);
}

std::string TempFolder::file(std::string_view name) const {
  return path_ + "\\" + std::string(name);
}

bool copyFileTo(const std::string& from, const std::string& to) {
  return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::string testProgramDirectory() { return qova::programDirectory(); }

}  // namespace qova::test
