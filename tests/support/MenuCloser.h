#pragma once
// Modal menus under test: the system's ("#32768") and the component
// library's ("ExuiMenuWindow"). A menu runs its own message loop inside the
// call that showed it, so a test answers it from a thread of its own.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <thread>
#include <vector>

namespace qova::test {

// The first visible menu window of the process; null when none shows.
HWND visibleMenuOf(DWORD processId);

// Posts each key's press and release to a menu window, as typing would.
void pressMenuKeys(HWND menu, const std::vector<WPARAM>& keys);

// Watches, from a thread of its own, for the menus the process shows and
// answers each one with `keys` (Escape by default: it closes the menu),
// counting them.
class MenuCloser {
 public:
  explicit MenuCloser(DWORD processId = ::GetCurrentProcessId(),
                      std::vector<WPARAM> keys = {VK_ESCAPE});
  MenuCloser(const MenuCloser&) = delete;
  MenuCloser& operator=(const MenuCloser&) = delete;
  ~MenuCloser();
  int menusShown() const { return shown_; }
  // Where the last menu answered showed, in screen coordinates; empty before any.
  RECT lastMenuRect() const {
    std::lock_guard lock(rectMutex_);
    return lastRect_;
  }

 private:
  void run();

  DWORD processId_;
  std::vector<WPARAM> keys_;
  std::atomic<bool> stop_{false};
  std::atomic<int> shown_{0};
  mutable std::mutex rectMutex_;
  RECT lastRect_{};
  std::thread thread_;
};

}  // namespace qova::test
