#pragma once
// MainWindow behaves like a desktop gadget: docked at the bottom-right corner
// above the taskbar, never activated, at the bottom of the Z order, 164 pixels
// high collapsed and 387 expanded into its settings view, and only ever moved
// vertically.
#include <windows.h>

namespace qova {

// Where MainWindow was docked at start-up.
struct DockedPosition {
  int left = 0;
  int top = 0;
};

// Start-up stage 1: the extended style becomes exactly WS_EX_NOACTIVATE.
void makeMainWindowNonActivating(HWND mainWindow);

// Start-up stage 3: collapsed, at the bottom-right corner above the taskbar; where it ended up.
DockedPosition dockMainWindow(HWND mainWindow);

// Start-up stage 8: shown at the bottom of the Z order when "窗体显示" is "0";
// whether it was shown.
bool showMainWindowIfWanted(HWND mainWindow);

// Expands MainWindow to its settings view (top at screen height − 428); it
// does not make the window visible.
void openSettingsView(HWND mainWindow);

// MainWindow's size changed: below the collapsed height it goes back to 164 at the docked top.
void keepCollapsedHeight(HWND mainWindow, const DockedPosition& docked);

// After a position change: the left edge back at the docked left, the width 216.
void pinLeftEdgeAndWidth(HWND mainWindow, const DockedPosition& docked);

}  // namespace qova
