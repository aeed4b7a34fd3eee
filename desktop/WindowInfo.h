#pragma once
// What the desktop search knows about a window: who owns it, its title and class.
#include <windows.h>

#include <string>
#include <vector>

namespace qova {

// One top-level window as the enumeration saw it.
struct WindowInfo {
  HWND window = nullptr;
  DWORD processId = 0;
  DWORD threadId = 0;
  std::string title;
  std::string className;  // at most 49 characters, as read into a 50-character buffer
};

// Appends one record per top-level window, topmost first; appends nothing on failure.
void enumTopLevelWindows(std::vector<WindowInfo>& windows);

// Id of the process that created the window; 0 for an invalid window.
DWORD windowProcessId(HWND window);
// Id of the thread that created the window; 0 for an invalid window.
DWORD windowThreadId(HWND window);
// The window's text in the ANSI code page; empty when it has none or cannot be read.
std::string windowTitle(HWND window);
// The window's class name, cut to 49 characters; empty when it cannot be read.
std::string windowClassName(HWND window);

}  // namespace qova
