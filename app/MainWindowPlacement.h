#pragma once
// MainWindow behaves like a desktop gadget: docked at the bottom-right corner
// above the taskbar, never activated, at the bottom of the Z order, 164 pixels
// high collapsed and 387 expanded into its settings view.
#include <windows.h>

namespace qova {

// Start-up stage 1: the extended style becomes exactly WS_EX_NOACTIVATE.
void makeMainWindowNonActivating(HWND mainWindow);

// Start-up stage 3: collapsed, at the bottom-right corner above the taskbar;
// the position is kept as savedLeft and savedTop.
void dockMainWindow(HWND mainWindow);

// Start-up stage 8: shown at the bottom of the Z order when "窗体显示" is "0".
void showMainWindowIfWanted(HWND mainWindow);

// Expands MainWindow to its settings view (top at screen height − 428); it
// does not make the window visible.
void openSettingsView();

// MainWindow's size changed: below the collapsed height it goes back to 164 at savedTop.
void onMainWindowSizeChanged();

}  // namespace qova
