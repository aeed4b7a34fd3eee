#pragma once
// The window builder: makes a window from its stored layout (the window, its
// standard context menu and its tree of skinned components), keeps each
// window's components by name, and routes every bound event, of the window
// or of a component, to its handler.
//
// A layout is data: rows of class, name, parent, rectangle, stored property
// data and event bindings, walked in order. Its sizes and positions are given
// at 96 DPI: the window and its components are built at the DPI of the
// monitor the window is on, and laid out again when that DPI changes
// (WM_DPICHANGED, with the rectangle the system suggests). A window's own events are 0
// (created: every component exists) and 4 (its size changed); component
// events carry the numbers of the component binding (engines/ExuiBinding.h).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engines/ExuiBinding.h"

namespace qova {

constexpr int32_t kWindowEventCreated = 0;
constexpr int32_t kWindowEventSizeChanged = 4;

// One event as its handler receives it.
struct LayoutEvent {
  HWND window = nullptr;  // the layout's window
  HWND source = nullptr;  // the component that raised it, or the window itself
  int32_t number = 0;
  int32_t a = 0, b = 0, c = 0, d = 0;
};
using LayoutEventHandler = std::function<void(const LayoutEvent& event)>;

struct EventBinding {
  int32_t number = 0;
  LayoutEventHandler handler = nullptr;
};

struct ComponentLayout {
  ComponentClass componentClass = ComponentClass::WindowEx;
  std::string name;        // unique within the window
  std::string parent;      // a container component's name; empty for the window
  int32_t left = 0, top = 0, width = 0, height = 0;
  exui::Bytes properties;  // stored property data (exui::PropertyWriter)
  std::vector<EventBinding> events;
};

struct MenuItemLayout {
  std::string caption;
  std::function<void()> handler;
};

struct WindowLayout {
  std::string name;        // "MainWindow", "LibraryWindow"
  std::string className;   // the window class registered for it
  std::string title;
  int32_t left = 0, top = 0, width = 0, height = 0;  // the design rectangle (outer = client); the
                                                     // position is kept, the size scaled
  DWORD style = WS_POPUP;  // WS_VISIBLE is never added: windows are built hidden
  DWORD exStyle = 0;
  std::vector<EventBinding> events;
  // The standard menu: a hidden top entry, so there is no menu bar; popped up by code.
  std::string menuCaption;
  std::vector<MenuItemLayout> menu;
  std::vector<ComponentLayout> components;  // tree order: every parent before its children
};

// The program's part of a window's procedure: it sees every message of the
// window after the builder (components' events are raised separately).
using WindowMessageHandler = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

struct BuildOptions {
  HWND parent = nullptr;
  // Receives the window's handle as soon as it exists, before any event.
  HWND* handle = nullptr;
  // Every message of the window goes on to this handler (DefWindowProcA when empty).
  WindowMessageHandler messageHandler;
};

// Builds the window hidden, its components in tree order and its menu; then
// raises its size-changed event (the first layout) and its created event.
// Loads the component library first (a missing one ends the program). Null
// when the window cannot be created.
HWND buildWindow(const WindowLayout& layout, const BuildOptions& options = {});

// The component named `name` in a built window; null if there is none.
HWND controlByName(HWND window, std::string_view name);

// The layout a window was built from; null for a window the builder did not build.
const WindowLayout* layoutOf(HWND window);

// The DPI a built window is laid out at; 96 for a window the builder did not build.
int layoutDpi(HWND window);
// `value`, given at 96 DPI, at the DPI the window is laid out at.
int scaledFor(HWND window, int value);

// Shows the window's standard menu at the screen point, owned by the window,
// which comes to the front unless it never activates, and runs the chosen
// item's handler; false when the window has no menu or nothing was chosen.
bool popUpStandardMenu(HWND window, int32_t x, int32_t y);

}  // namespace qova
