#include "tests/support/MenuCloser.h"

#include <string>

#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

bool isMenuWindow(HWND window) {
  const std::string name = classNameOf(window);
  return (name == "#32768" || name == "ExuiMenuWindow") && ::IsWindowVisible(window);
}

}  // namespace

HWND visibleMenuOf(DWORD processId) {
  for (HWND window : topLevelWindowsOf(processId))
    if (isMenuWindow(window)) return window;
  return nullptr;
}

void pressMenuKeys(HWND menu, const std::vector<WPARAM>& keys) {
  for (WPARAM key : keys) {
    ::PostMessageA(menu, WM_KEYDOWN, key, 0);
    ::PostMessageA(menu, WM_KEYUP, key, 0);
  }
}

MenuCloser::MenuCloser(DWORD processId, std::vector<WPARAM> keys)
    : processId_(processId), keys_(std::move(keys)), thread_([this] { run(); }) {}

MenuCloser::~MenuCloser() {
  stop_ = true;
  thread_.join();
}

void MenuCloser::run() {
  HWND lastAnswered = nullptr;
  while (!stop_) {
    HWND menu = visibleMenuOf(processId_);
    if (menu && menu != lastAnswered) {
      {
        std::lock_guard lock(rectMutex_);
        ::GetWindowRect(menu, &lastRect_);
      }
      ++shown_;
      lastAnswered = menu;
      pressMenuKeys(menu, keys_);
    }
    if (lastAnswered && !::IsWindowVisible(lastAnswered)) lastAnswered = nullptr;
    ::Sleep(20);
  }
}

}  // namespace qova::test
