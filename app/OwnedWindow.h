#pragma once
#include <windows.h>

namespace qova {

// A window the program owns: destroyed, if it still exists, when this goes.
// The handle is a plain field so that the window builder can fill it in
// before the window's first event.
struct OwnedWindow {
  HWND handle = nullptr;

  OwnedWindow() = default;
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;
  ~OwnedWindow() {
    if (::IsWindow(handle)) ::DestroyWindow(handle);
  }
};

}  // namespace qova
