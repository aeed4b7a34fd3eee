#include "tests/outside/exui/Input.h"

#include <cstdint>
#include <iterator>
#include <vector>

namespace qova::test {
namespace {

LPARAM pointOf(int x, int y) {
  return static_cast<LPARAM>(static_cast<uint16_t>(x)) | (static_cast<LPARAM>(static_cast<uint16_t>(y)) << 16);
}

void sendMouse(DWORD flags, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.mouseData = data;
  ::SendInput(1, &input, sizeof input);
}

}  // namespace

void movePointer(HWND window, int x, int y) { ::SendMessageW(window, WM_MOUSEMOVE, 0, pointOf(x, y)); }

void press(HWND window, int x, int y, Button button) {
  movePointer(window, x, y);
  if (button == Button::Left)
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, pointOf(x, y));
  else
    ::SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, pointOf(x, y));
}

void release(HWND window, int x, int y, Button button) {
  ::SendMessageW(window, button == Button::Left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, pointOf(x, y));
}

void click(HWND window, int x, int y, Button button) {
  press(window, x, y, button);
  release(window, x, y, button);
}

void doubleClick(HWND window, int x, int y) {
  click(window, x, y);
  ::SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, pointOf(x, y));
  release(window, x, y);
}

void turnWheel(HWND window, int notches) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int x = (rect.left + rect.right) / 2;
  const int y = (rect.top + rect.bottom) / 2;
  ::SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(notches * WHEEL_DELTA))),
                 pointOf(x, y));
}

void pressKey(HWND window, UINT key) {
  ::SendMessageW(window, WM_KEYDOWN, key, 1);
  ::SendMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void realPress(int screenX, int screenY, Button button) {
  ::SetCursorPos(screenX, screenY);
  sendMouse(MOUSEEVENTF_MOVE, 0);
  sendMouse(button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
}

void realRelease(Button button) { sendMouse(button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP); }

void realClick(int screenX, int screenY, Button button) {
  realPress(screenX, screenY, button);
  realRelease(button);
}

void realKey(UINT key) {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(key);
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

void realChord(std::initializer_list<UINT> modifiers, UINT key) {
  std::vector<INPUT> inputs;
  auto add = [&](UINT virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  // End, Home, the arrows and their like are extended keys.
  const DWORD extended = (key >= VK_PRIOR && key <= VK_DOWN) ? KEYEVENTF_EXTENDEDKEY : 0;
  for (UINT modifier : modifiers) add(modifier, 0);
  add(key, extended);
  add(key, extended | KEYEVENTF_KEYUP);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) add(*it, KEYEVENTF_KEYUP);
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace qova::test
