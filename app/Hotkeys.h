#pragma once
// Global hotkeys, registered on MainWindow and delivered through a
// replacement window procedure, and MainWindow's horizontal pin.
#include <windows.h>

#include <string>
#include <vector>

namespace qova {

// A hotkey handler has the shape of a window procedure; the id arrives in wParam.
using HotkeyHandler = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

struct HotkeyEntry {
  HWND window = nullptr;
  int id = 0;
  HotkeyHandler handler = nullptr;
};

constexpr int kHotkeyExit = 1;       // Ctrl+Alt+End
constexpr int kHotkeyPlayPause = 2;  // Ctrl+Alt+F10

// Registered hotkeys in registration order; entries are only ever appended.
std::vector<HotkeyEntry>& hotkeyTable();

// Registers the combination on `window` (a visible window of this process when
// null) for `handler`. Earlier registrations of the same id are unregistered
// but stay in the table, whose first entry for an id keeps receiving it.
// False for id 0 or when the combination is taken by another program.
bool registerHotkey(HWND window, UINT modifiers, UINT key, HotkeyHandler handler, int id);

// Delivers WM_HOTKEY to the first table entry of its id; everything else to
// the procedure it replaced.
LRESULT CALLBACK hotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Pins MainWindow's left edge to savedLeft and its width to 216 on every position change.
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Subclasses MainWindow with mainWindowProc, keeping its previous procedure.
void installMainWindowProc(HWND mainWindow);

// The application's hotkey handler: id 1 exits, id 2 pauses or resumes.
LRESULT CALLBACK onHotkey(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Flips isPlaying, shows the matching picture on the play button, then tells the player.
void togglePlayPause();

// A visible top-level window of this process; null when none shows up within a second.
HWND findOwnProcessWindow();

// Shows these skin bytes (the contents of a ".ex" file) on MainWindow's play button.
void setPlayButtonSkin(const std::string& skinBytes);

}  // namespace qova
