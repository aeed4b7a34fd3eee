#pragma once
// Text pictures of windows for debugging the desktop layer.
#include <windows.h>

#include <string>

namespace qova {

// One line: handle, class, rectangle, visibility, parent or owner, process
// and title; names the handle as invalid when it is not a window.
std::string describeWindow(HWND window);

// Several lines: the shell's desktop window with its children, then every
// top-level "WorkerW" with its children, in Z order; says so when there is no shell.
std::string describeDesktopLayer();

}  // namespace qova
