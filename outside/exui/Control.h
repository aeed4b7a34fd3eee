#pragma once
// What every component shares: attaching to the program's window by
// subclassing it, the "Tab_Control" property, double-buffered painting with
// the parent's look as background, properties, events, and a lifetime that
// survives being destroyed from inside its own event handlers.
#include <windows.h>

#include <memory>

#include "outside/exui/Canvas.h"
#include "outside/exui/ExuiContract.h"
#include "outside/exui/Geometry.h"
#include "runtime/DpiScale.h"

namespace qova::exui {

class Control {
 public:
  Control(HWND window, ExuiEventFunction events, int32_t classNumber, PropertySet properties);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND window() const { return window_; }
  // The DPI the control draws at (kExuiPropDpi, else its window's), and a
  // size given at 96 DPI scaled to it.
  int dpi() const;
  int scaled(int value) const;
  // Nine-grid margins given at 96 DPI at the control's DPI; the Background picture's.
  Margins scaledMargins(const Margins& margins) const;
  Margins backgroundMargins() const;
  int32_t classNumber() const { return classNumber_; }
  ExuiControl handle() { return reinterpret_cast<ExuiControl>(this); }
  bool alive() const { return !dying_; }

  // ControlSendMessage; 0 for an unknown message or property.
  intptr_t sendMessage(int32_t message, int32_t id, intptr_t data);
  // ControPonintSizeSynchronise: the window moved or was sized.
  void synchronise(int32_t what);

  // Paints the whole look at the painter's origin: the parent's look where
  // the control is see-through, then the control's face.
  void paintWhole(Painter& painter);
  // The control's own face over an already painted background.
  virtual void paintFace(Painter& painter, const Box& client) = 0;

  // The window procedure every control window gets.
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Attaches `control` to its window; the control, or null when that fails.
  static Control* adopt(std::unique_ptr<Control> control);
  // The live control behind a handle or attached to a window; null if none.
  static Control* find(const void* handle);
  static Control* ofWindow(HWND window);
  // Frees the control now, or, while one of its messages is being handled,
  // once that handling ends.
  static void destroy(Control* control);

 protected:
  // Runs after the window is subclassed; false refuses the control.
  virtual bool attached() { return true; }
  // Runs before the control is freed while its window may still exist.
  virtual void detaching() {}
  virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT forward(UINT message, WPARAM wParam, LPARAM lParam);
  // A property was changed through ControlSendMessage.
  virtual void propertyChanged(int32_t id) { (void)id; }
  // Brings properties_ up to date with state the user changed (before reading).
  virtual void storeLiveState() {}
  // Whether the face covers every pixel (no parent background needed).
  virtual bool opaque() const { return false; }
  virtual void layout() {}

  // Calls the event function; afterwards check alive() before touching state.
  int32_t fire(int32_t code, int32_t a = 0, int32_t b = 0, int32_t c = 0, int32_t d = 0);
  void redraw();
  void redrawNow();
  Box client() const;
  // Hover: true while the pointer is over the window (WM_MOUSELEAVE tracked).
  bool hot() const { return pointerInside_; }
  virtual void pointerLeft() {}
  // Left-button press tracking: beginPress captures the pointer; endPress
  // releases it and tells whether a press that began here ended inside.
  void beginPress();
  bool endPress(LPARAM lParam);
  bool pressed() const { return pressed_; }
  // Takes the keyboard focus, but only inside the window that is already
  // active: focusing would otherwise activate a window that must not be.
  void focusIfActive(HWND target = nullptr);

  PropertySet properties_;

 private:
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void paintToWindow();
  void detach();

  HWND window_;
  ExuiEventFunction events_;
  int32_t classNumber_;
  WNDPROC previous_ = nullptr;
  Canvas canvas_;
  Bytes wholeSet_;
  int depth_ = 0;
  bool dying_ = false;
  bool windowGone_ = false;
  bool pointerInside_ = false;
  bool pressed_ = false;
};

// Something that paints a window's client area as the background of its
// children when that window is not a control (a skinned top-level window).
class BackgroundPainter {
 public:
  virtual void paintBackground(Painter& painter, const Box& client) = 0;

 protected:
  ~BackgroundPainter() = default;
};
void registerBackgroundPainter(HWND window, BackgroundPainter* painter);
void unregisterBackgroundPainter(HWND window);

// Paints whatever lies behind `window` (its parent's look) with the painter,
// whose origin is the window's top-left.
void paintParentBehind(HWND window, Painter& painter);

}  // namespace qova::exui
