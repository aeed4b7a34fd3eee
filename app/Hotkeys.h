#pragma once
// Global hotkeys, registered on MainWindow and delivered by its window
// procedure: Ctrl+Alt+End quits, Ctrl+Alt+F10 pauses or resumes.
#include <windows.h>

#include <functional>
#include <vector>

namespace qova {

// A hotkey handler has the shape of a window procedure; the id arrives in wParam.
using HotkeyHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

struct HotkeyEntry {
  HWND window = nullptr;
  int id = 0;
  HotkeyHandler handler;
};

constexpr int kHotkeyExit = 1;       // Ctrl+Alt+End
constexpr int kHotkeyPlayPause = 2;  // Ctrl+Alt+F10

class Hotkeys {
 public:
  Hotkeys() = default;
  Hotkeys(const Hotkeys&) = delete;
  Hotkeys& operator=(const Hotkeys&) = delete;

  // Registers the combination on `window` (a visible window of this process when
  // null) for `handler`. Earlier registrations of the same id are unregistered
  // but stay in the table, whose first entry for an id keeps receiving it.
  // False for id 0 or when the combination is taken by another program; the
  // handler still answers the id's message posted to the window.
  bool registerHotkey(HWND window, UINT modifiers, UINT key, HotkeyHandler handler, int id);

  // WM_HOTKEY for an id of the table runs the first entry of that id: true,
  // with its result. False for every other message and for unknown ids.
  bool deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

  // Registered hotkeys in registration order; entries are only ever appended.
  const std::vector<HotkeyEntry>& table() const { return table_; }

 private:
  std::vector<HotkeyEntry> table_;
};

// A visible top-level window of this process; null when none shows up within a second.
HWND findOwnProcessWindow();

}  // namespace qova
