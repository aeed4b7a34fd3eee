#include "app/Hotkeys.h"

namespace qova {

bool Hotkeys::registerHotkey(HWND window, UINT modifiers, UINT key, HotkeyHandler handler, int id) {
  for (const HotkeyEntry& entry : table_)
    if (entry.id == id) ::UnregisterHotKey(entry.window, entry.id);
  if (!window) window = findOwnProcessWindow();
  if (id == 0) return false;
  const bool registered = ::RegisterHotKey(window, id, modifiers, key);
  // Kept even when another program holds the keys: the installer and the
  // uninstaller end the program by posting this id's message to its window.
  table_.push_back({window, id, std::move(handler)});
  return registered;
}

bool Hotkeys::deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
  if (message != WM_HOTKEY) return false;
  for (const HotkeyEntry& entry : table_) {
    if (entry.id != static_cast<int>(wParam)) continue;
    // A copy: exiting through a hotkey ends the program and its table with it.
    const HotkeyHandler handler = entry.handler;
    result = handler ? handler(window, message, wParam, lParam) : 0;
    return true;
  }
  return false;
}

HWND findOwnProcessWindow() {
  const DWORD self = ::GetCurrentProcessId();
  const ULONGLONG deadline = ::GetTickCount64() + 1000;
  do {
    for (HWND w = ::FindWindowExA(nullptr, nullptr, nullptr, nullptr); w;
         w = ::FindWindowExA(nullptr, w, nullptr, nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(w, &owner);
      if (owner == self && ::IsWindow(w) && ::IsWindowVisible(w)) return w;
    }
    ::Sleep(50);
  } while (::GetTickCount64() < deadline);
  return nullptr;
}

}  // namespace qova
