#pragma once
// MainWindow behaves like a desktop gadget: docked at the bottom-right corner
// of the primary monitor's work area (beside the taskbar, whichever edge it is
// on), never activated, at the bottom of the Z order, collapsed to its preview
// and buttons or expanded into its settings view, and only ever moved
// vertically. It docks again whenever the work area or the display changes.
#include <windows.h>

namespace qova {

// Where MainWindow is docked: its left edge, and the bottom edge of the work
// area, on which the collapsed panel stands.
struct DockedPosition {
  int left = 0;
  int bottom = 0;
};

// Start-up stage 1: the extended style becomes exactly WS_EX_NOACTIVATE.
void makeMainWindowNonActivating(HWND mainWindow);

// Start-up stage 3: collapsed, at the bottom-right corner of the work area; where it ended up.
DockedPosition dockMainWindow(HWND mainWindow);

// The work area or the display changed: the panel, at its current size, goes
// back to the bottom-right corner of the work area. `docked` takes the new
// place before the window moves, so that pinning its left edge follows.
void redockMainWindow(HWND mainWindow, DockedPosition& docked);

// Start-up stage 8: shown at the bottom of the Z order when "窗体显示" is "0";
// whether it was shown.
bool showMainWindowIfWanted(HWND mainWindow);

// Shows MainWindow at the bottom of the Z order without activating it.
void showMainWindow(HWND mainWindow);

// Shows MainWindow above the other windows, without activating it: for when
// the user asks for it.
void bringMainWindowForward(HWND mainWindow);

// Expands MainWindow to its settings view, docked as redockMainWindow does;
// it does not make the window visible.
void openSettingsView(HWND mainWindow, DockedPosition& docked);

// MainWindow's size changed: below the collapsed height it goes back to the
// collapsed height, standing on the docked bottom.
void keepCollapsedHeight(HWND mainWindow, const DockedPosition& docked);

// After a position change: the left edge back at the docked left, the width 216.
void pinLeftEdgeAndWidth(HWND mainWindow, const DockedPosition& docked);

}  // namespace qova
