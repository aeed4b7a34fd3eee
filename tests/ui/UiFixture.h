#pragma once
// The program's two windows built inside this test program from copies of
// their stored layouts in which every binding first records the call, then
// runs the handler the layout binds (MainWindow's start-up sequence excepted),
// with the real ExuiKrnln.dll and the recording engine beside the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Program.h"
#include "shell/WindowBuilder.h"
#include "tests/outside/exui/Input.h"

namespace qova::test {

// One handler call as a layout binding made it.
struct HandlerCall {
  std::string window;     // the layout's name
  std::string component;  // empty for the window's own events
  int32_t number = 0;
  int32_t a = 0;
};

// Every call since the last clear, in order.
std::vector<HandlerCall>& handlerCalls();
// The event numbers of one component's calls, in order.
std::vector<int32_t> callNumbers(const std::string& component);

// A copy of the layout whose bindings record each call and then run the bound
// handler; the bindings named in `recordOnly` ({component, number}, component
// empty for the window) record and run nothing.
WindowLayout recordingLayout(const WindowLayout& layout,
                             const std::vector<std::pair<std::string, int32_t>>& recordOnly = {});

// The component's rectangle in its parent's client coordinates.
RECT rectInParent(HWND component);
// The screen point at (x, y) of the window's client area.
POINT screenPoint(HWND window, int x, int y);
// A real click (SendInput) at the middle of a window.
void clickMiddle(HWND window, Button button = Button::Left);
// Text of a Text property of a component (UTF-16 as the layout stores it).
std::u16string componentText(HWND component, int32_t property);

constexpr POINT kMainWindowAt{40, 40};
constexpr POINT kLibraryWindowAt{300, 60};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;     // no settings file, no calls recorded, an empty library
  void TearDown() override;  // both windows destroyed

  // MainWindow from its recorded layout, without the start-up sequence, shown at kMainWindowAt;
  // the calls made while it was built are cleared (also for PopupWindow).
  HWND showMainWindow(int height);
  // The library window from its recorded layout, shown at kLibraryWindowAt.
  HWND showLibraryWindow();
  // Three library entries with files in a folder of the test, and their items in the list.
  void fillLibraryAndList(HWND list);
  // Waits (handling this thread's messages) until the condition holds; false on time-out.
  static bool settleUntil(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Handles this thread's messages for a moment: before a check that nothing
  // more follows, which no condition can wait for. What must happen is waited for with settleUntil.
  static void settle();

  std::unique_ptr<Program> program;  // whose handlers the windows' layouts bind
};

}  // namespace qova::test
