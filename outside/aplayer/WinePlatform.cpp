#include "outside/aplayer/WinePlatform.h"

#include <windows.h>

namespace qova::aplayer {

bool runningOnWine() {
  static const bool wine = [] {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace qova::aplayer
