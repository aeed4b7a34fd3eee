#pragma once
// Plays the program's binding: registers a window class per component,
// creates the child windows in a top-level test window, calls the create
// exports with a creation record, keeps the binding's duties on WM_MOVE,
// WM_SIZE and WM_NCDESTROY, and records the events the library raises.
#include <windows.h>

#include <functional>
#include <vector>

#include "outside/exui/ExuiContract.h"
#include "outside/exui/Geometry.h"

namespace qova::test {

enum class Component { WindowEx, MinutesboxEx, ButtonEx, RadiobuttonEx, SliderbarEx, EditboxEx, IcoListboxEx };

// One event as the program's window builder would raise it.
struct RecordedEvent {
  ExuiControl control = nullptr;
  int number = 0;  // code - 660 + the class's event base
  int32_t a = 0, b = 0, c = 0, d = 0;
};

class ComponentHost {
 public:
  // A visible top-level popup window of that client size at (x, y) on the screen.
  ComponentHost(int width, int height, int x = 40, int y = 40);
  ~ComponentHost();
  ComponentHost(const ComponentHost&) = delete;
  ComponentHost& operator=(const ComponentHost&) = delete;

  HWND window() const { return window_; }
  // Creates the component's window and control; null when the library refuses.
  ExuiControl create(Component component, const exui::Bytes& properties, exui::Box rectangle,
                     HWND parent = nullptr);
  // The control's window; null if unknown.
  static HWND windowOf(ExuiControl control);

 private:
  HWND window_ = nullptr;
};

// Every event recorded since the last clear, in order.
std::vector<RecordedEvent>& recordedEvents();
void clearEvents();
// The event numbers raised by one control, in order.
std::vector<int> eventNumbers(ExuiControl control);
// Runs inside the event function after each event is recorded (empty: nothing).
void setEventReaction(std::function<void(const RecordedEvent&)> reaction);

}  // namespace qova::test
