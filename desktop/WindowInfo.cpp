#include "desktop/WindowInfo.h"

#include <new>

namespace qova {
namespace {

constexpr int kClassNameBufferSize = 50;
constexpr std::size_t kLongestTitle = 32768;

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

// The title as the system keeps it: no message is sent, so a window whose
// thread is busy or hung (ours or another program's) cannot stall the search.
std::string windowTitle(HWND window) {
  std::wstring wide(256, L'\0');
  int copied = 0;
  for (;;) {
    copied = ::InternalGetWindowText(window, wide.data(), static_cast<int>(wide.size()));
    if (copied < static_cast<int>(wide.size()) - 1 || wide.size() >= kLongestTitle) break;
    wide.resize(wide.size() * 4);
  }
  if (copied <= 0) return {};
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), copied, nullptr, 0, nullptr, nullptr);
  std::string title(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0)
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), copied, title.data(), bytes, nullptr, nullptr);
  return title;
}

std::string windowClassName(HWND window) {
  char name[kClassNameBufferSize] = {};
  const int copied = ::GetClassNameA(window, name, kClassNameBufferSize);
  return std::string(name, copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

}  // namespace qova
