#pragma once
// MainWindow: the small panel docked at the bottom-right corner. It is the
// first window of the process, built from its layout (shell/Layouts.h); its
// creation handler runs the start-up sequence.
#include <windows.h>

namespace qova {

constexpr int kMainWindowWidth = 216;
constexpr int kMainWindowCollapsedHeight = 164;
constexpr int kMainWindowExpandedHeight = 387;

// Builds MainWindow hidden and runs its creation handler; null on failure.
HWND createMainWindow();

// The start-up sequence, run once MainWindow exists.
void onMainWindowCreated();

}  // namespace qova
