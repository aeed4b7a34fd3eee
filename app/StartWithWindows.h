#pragma once
// Starting with Windows: a value of the current user's Run key holding the
// quoted path of this qova.exe, set and removed by the two buttons of the
// settings view. One value name serves every copy of the program, so a copy
// that was moved, or another copy, finds the value naming someone else.
#include <windows.h>

#include <string>

namespace qova {

// HKEY_CURRENT_USER\<kRunKeyPath>, value kRunValueName.
constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunValueName = L"QOVA Wallpaper";

enum class StartWithWindows {
  Off,    // no value
  On,     // the value starts this qova.exe
  Stale,  // the value starts some other path: a moved copy, or another copy
};

// What the Run value holds for this program; Off when it cannot be read.
StartWithWindows startWithWindowsState();
// The value as this program writes it: its path in double quotes.
std::wstring runCommandForThisProgram();

// Writes the value for this qova.exe; false when the registry refused.
bool turnOnStartWithWindows();
// Removes the value, whichever copy it names; false when it is still there.
bool turnOffStartWithWindows();

// The settings view's two buttons show the state: the left one ("设置开机启动")
// turns it on and says when it is on or stale; the right one turns it off.
void showStartWithWindowsState(HWND mainWindow);
// A button's choice: turns starting with Windows on or off, then shows the state that holds.
void chooseStartWithWindows(HWND mainWindow, bool on);

}  // namespace qova
