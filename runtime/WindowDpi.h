#pragma once
// The DPI a window is shown at: its monitor's where the system tells it
// (Windows 10 version 1607 and later), else the system's (GetDeviceCaps).
#include <windows.h>

#include "runtime/DpiScale.h"
#include "runtime/UniqueHandle.h"

namespace qova {

inline int windowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  const UniqueScreenDc screen(::GetDC(nullptr));
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace qova
