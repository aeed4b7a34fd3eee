#include "tests/support/UserInput.h"

#include <vector>

#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

bool containsScreenPoint(HWND window, POINT screen) {
  RECT r{};
  return ::GetWindowRect(window, &r) && ::PtInRect(&r, screen);
}

LPARAM clientPoint(HWND window, POINT screen) {
  POINT p = screen;
  ::ScreenToClient(window, &p);
  return MAKELPARAM(p.x, p.y);
}

// The first visible window of `processId` with this class, or null.
HWND visibleProcessWindow(DWORD processId, const char* className) {
  for (HWND w : topLevelWindowsOf(processId))
    if (classNameOf(w) == className && ::IsWindowVisible(w)) return w;
  return nullptr;
}

HWND waitForVisibleWindow(DWORD processId, const char* className, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  waitUntil([&] { return (found = visibleProcessWindow(processId, className)) != nullptr; }, timeout);
  return found;
}

void postKey(HWND window, WORD key) {
  ::PostMessageA(window, WM_KEYDOWN, key, 1);
  ::PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

INPUT keyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (key == VK_END) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return input;
}

}  // namespace

HWND windowAtScreenPoint(HWND top, POINT screen) {
  if (!top || !::IsWindowVisible(top) || !containsScreenPoint(top, screen)) return nullptr;
  HWND found = top;
  for (;;) {
    HWND deeper = nullptr;
    for (HWND child : childWindows(found))  // Z order: the first one that holds the point is on top
      if (::IsWindowVisible(child) && containsScreenPoint(child, screen)) {
        deeper = child;
        break;
      }
    if (!deeper) return found;
    found = deeper;
  }
}

bool clickAt(HWND top, POINT screen, MouseButton button) {
  HWND target = windowAtScreenPoint(top, screen);
  if (!target) return false;
  ::SetCursorPos(screen.x, screen.y);
  const LPARAM at = clientPoint(target, screen);
  const bool left = button == MouseButton::Left;
  ::PostMessageA(target, WM_MOUSEMOVE, 0, at);
  ::PostMessageA(target, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, at);
  ::PostMessageA(target, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
  return true;
}

bool clickInClient(HWND top, int x, int y, MouseButton button) {
  POINT screen{x, y};
  ::ClientToScreen(top, &screen);
  return clickAt(top, screen, button);
}

void postTrayNotification(HWND owner, UINT callbackMessage, UINT iconId, UINT event) {
  ::PostMessageA(owner, callbackMessage, iconId, event);
}

bool chooseStandardMenuItem(DWORD processId, int index, std::chrono::milliseconds timeout) {
  HWND menu = waitForVisibleWindow(processId, "#32768", timeout);
  if (!menu) return false;
  // The menu's own loop reads every key message of its thread: the first Down selects item 0.
  for (int i = 0; i <= index; ++i) postKey(menu, VK_DOWN);
  postKey(menu, VK_RETURN);
  return waitUntil([&] { return !::IsWindow(menu) || !::IsWindowVisible(menu); }, timeout);
}

bool clickSkinnedMenuItem(DWORD processId, int index, int itemHeight, int padding,
                          std::chrono::milliseconds timeout) {
  HWND menu = waitForVisibleWindow(processId, "ExuiMenuWindow", timeout);
  if (!menu) return false;
  RECT client{};
  ::GetClientRect(menu, &client);
  const LPARAM at = MAKELPARAM(client.right / 2, padding + index * itemHeight + itemHeight / 2);
  ::PostMessageA(menu, WM_MOUSEMOVE, 0, at);
  ::PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageA(menu, WM_LBUTTONUP, 0, at);
  return true;
}

void pressCtrlAlt(WORD key) {
  std::vector<INPUT> inputs = {keyInput(VK_CONTROL, false), keyInput(VK_MENU, false), keyInput(key, false),
                               keyInput(key, true), keyInput(VK_MENU, true), keyInput(VK_CONTROL, true)};
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace qova::test
