#include "app/Hotkeys.h"

#include "app/AppState.h"
#include "app/Wallpaper.h"
#include "engines/ExuiBinding.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "shell/Layouts.h"
#include "shell/WindowBuilder.h"

namespace qova {
namespace {

WNDPROC gProcBeforeHotkeys = nullptr;
WNDPROC gProcBeforeMainWindowProc = nullptr;

}  // namespace

std::vector<HotkeyEntry>& hotkeyTable() {
  static std::vector<HotkeyEntry> table;
  return table;
}

bool registerHotkey(HWND window, UINT modifiers, UINT key, HotkeyHandler handler, int id) {
  auto& table = hotkeyTable();
  for (const HotkeyEntry& entry : table)
    if (entry.id == id) ::UnregisterHotKey(entry.window, entry.id);
  if (!window) window = findOwnProcessWindow();
  if (id == 0) return false;
  if (!::RegisterHotKey(window, id, modifiers, key)) return false;
  table.push_back({window, id, handler});
  if (table.size() == 1) {
    gProcBeforeHotkeys = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&hotkeyWindowProc)));
  }
  return true;
}

LRESULT CALLBACK hotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY) {
    for (const HotkeyEntry& entry : hotkeyTable())
      if (entry.id == static_cast<int>(wParam))
        return ::CallWindowProcA(reinterpret_cast<WNDPROC>(entry.handler), window, message,
                                 wParam, lParam);
  }
  return ::CallWindowProcA(gProcBeforeHotkeys, window, message, wParam, lParam);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGED) {
    RECT r{};
    ::GetWindowRect(window, &r);
    if (r.left != app().savedLeft || r.right - r.left != kMainWindowWidth)
      ::SetWindowPos(window, nullptr, app().savedLeft, r.top, kMainWindowWidth, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return ::CallWindowProcA(gProcBeforeMainWindowProc, window, message, wParam, lParam);
}

void installMainWindowProc(HWND mainWindow) {
  gProcBeforeMainWindowProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&mainWindowProc)));
}

LRESULT CALLBACK onHotkey(HWND, UINT, WPARAM wParam, LPARAM) {
  switch (static_cast<int>(wParam)) {
    case kHotkeyExit:
      exitApplication();
    case kHotkeyPlayPause:
      togglePlayPause();
      break;
    default:
      break;
  }
  return 0;
}

void togglePlayPause() {
  AppState& state = app();
  state.isPlaying = (1 - state.isPlaying) & 1;
  if (state.isPlaying == 0) {
    setPlayButtonSkin(readWholeFile(programFile("skin_bf.ex")));
    state.player.pause();
  } else {
    setPlayButtonSkin(readWholeFile(programFile("skin_zt.ex")));
    state.player.play();
  }
}

void setPlayButtonSkin(const std::string& skinBytes) {
  setButtonImages(controlByName(app().mainWindow, kPlayButtonName),
                  {reinterpret_cast<const uint8_t*>(skinBytes.data()), skinBytes.size()});
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
