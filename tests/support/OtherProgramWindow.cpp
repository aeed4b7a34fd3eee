#include "tests/support/OtherProgramWindow.h"

#include <chrono>
#include <string>

#include "tests/support/WindowSearch.h"

namespace qova::test {

OtherProgramWindow::OtherProgramWindow() {
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  process_ = TestProcess(std::string(windows) + "\\notepad.exe", "");
  if (!process_.started()) return;
  waitUntil([&] { return (window_ = findProcessWindow(process_.id(), "Notepad")) != nullptr; },
            std::chrono::seconds(20));
  if (!window_) return;
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
  ::MoveWindow(window_, 100, 100, 400, 300, TRUE);
}

}  // namespace qova::test
