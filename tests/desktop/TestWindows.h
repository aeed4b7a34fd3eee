#pragma once
// Windows the desktop tests create in their own process: players placed in
// the stand-in's layer, and look-alikes of the shell's windows.
#include <windows.h>

#include <string>

#include "runtime/UniqueHandle.h"

namespace qova::test {

// A window class of this process for the life of the object.
class TestWindowClass {
 public:
  explicit TestWindowClass(std::string name);
  TestWindowClass(const TestWindowClass&) = delete;
  TestWindowClass& operator=(const TestWindowClass&) = delete;
  ~TestWindowClass();
  const char* name() const { return name_.c_str(); }

 private:
  std::string name_;
};

// A window of `windowClass`; `parent` is the parent of a WS_CHILD or the owner of a WS_POPUP.
UniqueHwnd createTestWindow(const TestWindowClass& windowClass, DWORD style, HWND parent,
                            const RECT& rect, const char* title = "");

// The primary screen, as the wallpaper covers it.
RECT screenRect();

}  // namespace qova::test
