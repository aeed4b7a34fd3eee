#include "tests/support/WindowSearch.h"

#include <chrono>
#include <cstdio>

#include "tests/support/TestProcess.h"

namespace qova::test {

std::string classNameOf(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

std::string titleOf(HWND window) {
  char title[512] = {};
  ::GetWindowTextA(window, title, sizeof title);
  return title;
}

std::string describeWindow(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  char text[1024];
  std::snprintf(text, sizeof text, "%p class=\"%s\" rect=(%ld,%ld)-(%ld,%ld) visible=%d title=\"%s\"",
                static_cast<void*>(window), classNameOf(window).c_str(), r.left, r.top, r.right,
                r.bottom, ::IsWindowVisible(window) ? 1 : 0, titleOf(window).c_str());
  return text;
}

std::vector<HWND> childWindows(HWND parent) {
  std::vector<HWND> windows;
  for (HWND w = ::FindWindowExA(parent, nullptr, nullptr, nullptr); w;
       w = ::FindWindowExA(parent, w, nullptr, nullptr))
    windows.push_back(w);
  return windows;
}

std::vector<HWND> topLevelWindowsOf(DWORD processId) {
  std::vector<HWND> windows;
  for (HWND w : childWindows(nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    if (owner == processId) windows.push_back(w);
  }
  return windows;
}

HWND findProcessWindow(DWORD processId, const std::string& className) {
  for (HWND w : topLevelWindowsOf(processId))
    if (className.empty() || classNameOf(w) == className) return w;
  return nullptr;
}

std::string waitForMessageBoxText(DWORD processId, HWND* box) {
  std::string text;
  waitUntil(
      [&] {
        *box = findProcessWindow(processId, "#32770");
        if (!*box) return false;
        char buffer[2048] = {};
        ::GetDlgItemTextA(*box, 0xFFFF, buffer, sizeof buffer);
        text = buffer;
        return !text.empty();
      },
      std::chrono::seconds(20));
  return text;
}

}  // namespace qova::test
