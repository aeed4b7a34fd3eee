#include "desktop/WindowDescription.h"

#include <cstdio>
#include <vector>

#include "desktop/ShellWindowNames.h"
#include "desktop/WindowInfo.h"

namespace qova {
namespace {

void appendWithChildren(std::string& text, HWND window) {
  text += describeWindow(window) + "\n";
  for (HWND child = ::FindWindowExA(window, nullptr, nullptr, nullptr); child;
       child = ::FindWindowExA(window, child, nullptr, nullptr))
    text += "  " + describeWindow(child) + "\n";
}

}  // namespace

std::string describeWindow(HWND window) {
  char text[512];
  if (!::IsWindow(window)) {
    std::snprintf(text, sizeof text, "%p (not a window)", static_cast<void*>(window));
    return text;
  }
  RECT r{};
  ::GetWindowRect(window, &r);
  std::snprintf(text, sizeof text,
                "%p class=\"%s\" rect=(%ld,%ld)-(%ld,%ld) visible=%d parent=%p pid=%lu title=\"",
                static_cast<void*>(window), windowClassName(window).c_str(), r.left, r.top,
                r.right, r.bottom, ::IsWindowVisible(window) ? 1 : 0,
                static_cast<void*>(::GetParent(window)), windowProcessId(window));
  return text + windowTitle(window) + "\"";
}

std::string describeDesktopLayer() {
  std::string text;
  HWND desktop = ::FindWindowA(kShellDesktopClass, kShellDesktopTitle);
  if (desktop)
    appendWithChildren(text, desktop);
  else
    text += "no \"Progman\" / \"Program Manager\" window\n";
  std::vector<WindowInfo> windows;
  enumTopLevelWindows(windows);
  for (const WindowInfo& info : windows)
    if (info.className == kDesktopWorkerClass) appendWithChildren(text, info.window);
  return text;
}

}  // namespace qova
