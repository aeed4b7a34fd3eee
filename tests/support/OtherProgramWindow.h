#pragma once
// A top-level window of another program, for tests of what the wallpaper
// does when other windows cover the desktop: Wine's Notepad, shown without
// taking the focus at (100, 100), 400 x 300.
#include <windows.h>

#include "tests/support/TestProcess.h"

namespace qova::test {

class OtherProgramWindow {
 public:
  // Starts the program and waits up to 20 s for its window; window() is null when none came.
  OtherProgramWindow();
  HWND window() const { return window_; }

 private:
  TestProcess process_;  // killed when this goes
  HWND window_ = nullptr;
};

}  // namespace qova::test
