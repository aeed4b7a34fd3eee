#pragma once
// A popup menu owned by a window that is not in front (the docked panel,
// which never activates) does not close when the user clicks elsewhere: the
// system does that only for the foreground thread. While a ClickAwayClosesMenu
// lives, a mouse button pressed anywhere but on a menu ends this thread's menu.
#include <windows.h>

namespace qova {

class ClickAwayClosesMenu {
 public:
  ClickAwayClosesMenu();  // without the hook (it could not be set) a click elsewhere does nothing
  ClickAwayClosesMenu(const ClickAwayClosesMenu&) = delete;
  ClickAwayClosesMenu& operator=(const ClickAwayClosesMenu&) = delete;
  ~ClickAwayClosesMenu();

 private:
  static LRESULT CALLBACK onMouse(int code, WPARAM message, LPARAM data);

  HHOOK hook_ = nullptr;
};

}  // namespace qova
