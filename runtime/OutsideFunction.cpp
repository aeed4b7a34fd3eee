#include "runtime/OutsideFunction.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

namespace qova {
namespace {

constexpr DWORD kSafeSearch = LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

// Libraries stay loaded for the life of the process, as their functions may be called at any time.
std::map<std::string, HMODULE>& loadedLibraries() {
  static std::map<std::string, HMODULE> libraries;
  return libraries;
}

}  // namespace

void restrictLibrarySearchPath() {
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

void* loadOutsideLibrary(const char* library) {
  auto& libraries = loadedLibraries();
  if (auto found = libraries.find(library); found != libraries.end()) return found->second;
  HMODULE module = ::LoadLibraryExA(library, nullptr, kSafeSearch);
  if (module) libraries.emplace(library, module);
  return module;
}

void failMissingExport(const char* library, const char* function) {
  char detail[1024];
  std::snprintf(detail, sizeof detail, "无法找到指定DLL库文件“%s”中的输出命令“%s”", library, function);
  std::string text = "运行时出错!\r\n\r\n错误信息：";
  text += detail;
  ::MessageBoxA(nullptr, text.c_str(), "QOVA_壁纸", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  ::ExitProcess(static_cast<UINT>(-1));
}

void* bindOutsideFunction(const char* library, const char* function) {
  auto module = static_cast<HMODULE>(loadOutsideLibrary(library));
  FARPROC address = module ? ::GetProcAddress(module, function) : nullptr;
  if (!address) failMissingExport(library, function);
  return reinterpret_cast<void*>(address);
}

}  // namespace qova
