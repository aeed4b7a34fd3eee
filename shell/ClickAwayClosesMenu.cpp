#include "shell/ClickAwayClosesMenu.h"

#include <cstring>

namespace qova {
namespace {

bool isButtonPress(WPARAM message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_XBUTTONDOWN;
}

// Menus, the system's and their submenus alike, are windows of class "#32768".
bool isMenuWindow(HWND window) {
  char className[16] = {};
  return window && ::GetClassNameA(window, className, sizeof className) > 0 &&
         std::strcmp(className, "#32768") == 0;
}

}  // namespace

ClickAwayClosesMenu::ClickAwayClosesMenu()
    : hook_(::SetWindowsHookExA(WH_MOUSE_LL, &ClickAwayClosesMenu::onMouse, ::GetModuleHandleA(nullptr), 0)) {}

ClickAwayClosesMenu::~ClickAwayClosesMenu() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK ClickAwayClosesMenu::onMouse(int code, WPARAM message, LPARAM data) {
  // The hook runs on the thread that set it, inside its menu's message loop.
  if (code == HC_ACTION && isButtonPress(message) &&
      !isMenuWindow(::WindowFromPoint(reinterpret_cast<const MSLLHOOKSTRUCT*>(data)->pt)))
    ::EndMenu();
  return ::CallNextHookEx(nullptr, code, message, data);
}

}  // namespace qova
