#include "desktop/WindowInfo.h"

#include <new>

namespace qova {
namespace {

constexpr int kClassNameBufferSize = 50;

WindowInfo describeTopLevel(HWND window) {
  WindowInfo info;
  info.window = window;
  info.threadId = ::GetWindowThreadProcessId(window, &info.processId);
  info.title = windowTitle(window);
  info.className = windowClassName(window);
  return info;
}

BOOL CALLBACK appendWindowInfo(HWND window, LPARAM list) {
  try {
    reinterpret_cast<std::vector<WindowInfo>*>(list)->push_back(describeTopLevel(window));
  } catch (const std::bad_alloc&) {
    return FALSE;  // out of memory: the records so far are all the caller gets
  }
  return TRUE;
}

}  // namespace

void enumTopLevelWindows(std::vector<WindowInfo>& windows) {
  ::EnumWindows(appendWindowInfo, reinterpret_cast<LPARAM>(&windows));
}

DWORD windowProcessId(HWND window) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  return processId;
}

DWORD windowThreadId(HWND window) { return ::GetWindowThreadProcessId(window, nullptr); }

std::string windowTitle(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string title(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(window, title.data(), length + 1);
  title.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return title;
}

std::string windowClassName(HWND window) {
  char name[kClassNameBufferSize] = {};
  const int copied = ::GetClassNameA(window, name, kClassNameBufferSize);
  return std::string(name, copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

}  // namespace qova
