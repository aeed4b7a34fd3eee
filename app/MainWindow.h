#pragma once
// MainWindow: the small panel docked at the bottom-right corner. It is the
// first window of the process, built from its layout (shell/Layouts.h); its
// creation handler runs the start-up sequence.
#include <windows.h>

#include "shell/Layouts.h"

namespace qova {

// Builds MainWindow hidden and runs its creation handler; null on failure.
HWND createMainWindow();

// The start-up sequence, run once MainWindow exists.
void onMainWindowCreated();

// "隐藏该窗口": MainWindow stays hidden from the next start on.
void onHideWindowOptionChosen();

}  // namespace qova
