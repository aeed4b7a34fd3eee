#include "outside/exui/Control.h"

#include <windowsx.h>

#include <map>
#include <mutex>

#include "outside/exui/PropertyTable.h"
#include "outside/exui/Theme.h"
#include "runtime/WindowDpi.h"

namespace qova::exui {
namespace {

constexpr const wchar_t* kControlProperty = L"Tab_Control";

// Every live control by window, and the procedures of windows whose control
// left while someone else's procedure sat on top of ours.
struct Registry {
  std::mutex guard;
  std::map<HWND, std::unique_ptr<Control>> controls;
  std::map<HWND, WNDPROC> orphans;
  std::map<HWND, BackgroundPainter*> backgrounds;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

HBRUSH classBrush(HWND window) {
  const auto value = static_cast<uintptr_t>(::GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
  if (value == 0) return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  if (value <= COLOR_MENUBAR + 1) return ::GetSysColorBrush(static_cast<int>(value - 1));
  return reinterpret_cast<HBRUSH>(value);
}

}  // namespace

Control::Control(HWND window, ExuiEventFunction events, int32_t classNumber, PropertySet properties)
    : properties_(std::move(properties)), window_(window), events_(events), classNumber_(classNumber) {}

Control::~Control() = default;

Control* Control::adopt(std::unique_ptr<Control> control) {
  HWND window = control->window();
  if (!::IsWindow(window) || ofWindow(window)) return nullptr;
  Control* raw = control.get();
  {
    std::lock_guard lock(registry().guard);
    registry().controls[window] = std::move(control);
    registry().orphans.erase(window);
  }
  raw->previous_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::windowProcedure)));
  ::SetPropW(window, kControlProperty, raw);
  // The library draws its own borders.
  const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  ::SetWindowLongPtrW(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
  ::SetWindowLongPtrW(window, GWL_EXSTYLE,
                      ::GetWindowLongPtrW(window, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!raw->previous_ || !raw->attached()) {
    destroy(raw);
    return nullptr;
  }
  raw->layout();
  raw->redraw();
  return raw;
}

Control* Control::find(const void* handle) {
  if (!handle) return nullptr;
  std::lock_guard lock(registry().guard);
  for (const auto& [window, control] : registry().controls)
    if (control.get() == handle && !control->dying_) return control.get();
  return nullptr;
}

Control* Control::ofWindow(HWND window) {
  std::lock_guard lock(registry().guard);
  auto found = registry().controls.find(window);
  return found == registry().controls.end() ? nullptr : found->second.get();
}

void Control::destroy(Control* control) {
  if (!control) return;
  control->dying_ = true;
  if (control->depth_ > 0) return;  // finished when its message handling unwinds
  control->detach();
  std::unique_ptr<Control> owned;
  {
    std::lock_guard lock(registry().guard);
    auto found = registry().controls.find(control->window_);
    if (found != registry().controls.end()) {
      owned = std::move(found->second);
      registry().controls.erase(found);
    }
  }
}

void Control::detach() {
  detaching();
  if (windowGone_ || !::IsWindow(window_)) return;
  ::RemovePropW(window_, kControlProperty);
  const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window_, GWLP_WNDPROC));
  if (current == &Control::windowProcedure) {
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  } else {
    std::lock_guard lock(registry().guard);
    registry().orphans[window_] = previous_;
  }
}

LRESULT CALLBACK Control::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Control* control = ofWindow(window)) return control->dispatch(message, wParam, lParam);
  WNDPROC previous = nullptr;
  {
    std::lock_guard lock(registry().guard);
    auto found = registry().orphans.find(window);
    if (found != registry().orphans.end()) previous = found->second;
    if (message == WM_NCDESTROY) registry().orphans.erase(window);
  }
  return previous ? ::CallWindowProcW(previous, window, message, wParam, lParam)
                  : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Control::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  ++depth_;
  LRESULT result = 0;
  if (message == WM_NCDESTROY) {
    result = forward(message, wParam, lParam);  // the program's ControlDestroy lands here
    windowGone_ = true;
    dying_ = true;
  } else {
    result = handleMessage(message, wParam, lParam);
  }
  --depth_;
  if (depth_ == 0 && dying_) destroy(this);
  return result;
}

LRESULT Control::forward(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(previous_, window_, message, wParam, lParam);
}

LRESULT Control::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paintToWindow();
      return 0;
    case WM_PRINTCLIENT: {
      const Box box = client();
      if (canvas_.reserve(box.width(), box.height())) {
        Painter painter(canvas_, 0, 0);
        paintWhole(painter);
        canvas_.present(reinterpret_cast<HDC>(wParam), 0, 0, box.width(), box.height());
      }
      return 0;
    }
    case WM_SIZE:
      layout();
      redraw();
      break;
    case WM_MOUSEMOVE:
      if (!pointerInside_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
        pointerInside_ = ::TrackMouseEvent(&track) != FALSE;
        redraw();
      }
      break;
    case WM_MOUSELEAVE:
      pointerInside_ = false;
      pointerLeft();
      redraw();
      return 0;
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = false;
        redraw();
      }
      break;
    default:
      break;
  }
  return forward(message, wParam, lParam);
}

void Control::paintToWindow() {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(window_, &paint);
  const Box box = client();
  if (dc && canvas_.reserve(box.width(), box.height())) {
    Painter painter(canvas_, 0, 0);
    paintWhole(painter);
    canvas_.present(dc, 0, 0, box.width(), box.height());
  }
  ::EndPaint(window_, &paint);
}

void Control::paintWhole(Painter& painter) {
  if (!opaque()) paintParentBehind(window_, painter);
  paintFace(painter, client());
}

Box Control::client() const {
  RECT rect{};
  ::GetClientRect(window_, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void Control::redraw() {
  if (::IsWindow(window_)) ::InvalidateRect(window_, nullptr, FALSE);
}

void Control::redrawNow() {
  redraw();
  if (::IsWindow(window_)) ::UpdateWindow(window_);
}

void Control::beginPress() {
  pressed_ = true;
  ::SetCapture(window_);
  redraw();
}

void Control::focusIfActive(HWND target) {
  if (!target) target = window_;
  HWND active = ::GetActiveWindow();
  if (active && active == ::GetAncestor(window_, GA_ROOT) && ::GetFocus() != target) ::SetFocus(target);
}

bool Control::endPress(LPARAM lParam) {
  const bool began = pressed_;
  pressed_ = false;
  if (::GetCapture() == window_) ::ReleaseCapture();
  redraw();
  return began && client().contains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

int32_t Control::fire(int32_t code, int32_t a, int32_t b, int32_t c, int32_t d) {
  if (!events_ || dying_) return 0;
  return events_(handle(), code, a, b, c, d);
}

int Control::dpi() const {
  const int32_t given = integerProperty(properties_, kExuiPropDpi);
  return given > 0 ? given : windowDpi(window_);
}

int Control::scaled(int value) const { return scaledForDpi(value, dpi()); }

Margins Control::backgroundMargins() const {
  const auto m = integersProperty(properties_, kExuiPropBackgroundMargins);
  return m.size() < 4 ? Margins{} : scaledMargins(Margins{m[0], m[1], m[2], m[3]});
}

Margins Control::scaledMargins(const Margins& margins) const {
  return Margins{scaled(margins.left), scaled(margins.top), scaled(margins.right), scaled(margins.bottom)};
}

void Control::synchronise(int32_t what) {
  (void)what;
  layout();
  redraw();
}

intptr_t Control::sendMessage(int32_t message, int32_t id, intptr_t data) {
  switch (message) {
    case kExuiMessageSetProperty: {
      const auto info = propertyInfo(id);
      if (!info) return 0;
      if (info->kind == ExuiValueKind::Integer)
        properties_.setInteger(id, static_cast<int32_t>(data));
      else
        properties_.setBytes(id, info->kind, byteBlockBytes(reinterpret_cast<const void*>(data)));
      propertyChanged(id);
      if (!alive()) return 1;
      layout();
      redraw();
      return 1;
    }
    case kExuiMessageGetProperty: {
      auto* value = reinterpret_cast<ExuiPropertyValue*>(data);
      const auto info = propertyInfo(id);
      if (!value || !info) return 0;
      storeLiveState();
      *value = ExuiPropertyValue{0, 0, nullptr};
      if (info->kind == ExuiValueKind::Integer) {
        value->integer = integerProperty(properties_, id);
      } else {
        // Defaults of sizes and margins are stored, so that their bytes belong to the control.
        if (info->kind == ExuiValueKind::Integers && !properties_.has(id))
          properties_.setBytes(id, ExuiValueKind::Integers, integersBytes(integersProperty(properties_, id)));
        const ByteView bytes = properties_.bytes(id);
        value->length = static_cast<int32_t>(bytes.size());
        value->bytes = bytes.empty() ? nullptr : bytes.data();
      }
      return 1;
    }
    case kExuiMessageGetAllProperties:
      storeLiveState();
      wholeSet_ = makeByteBlock(properties_.encode());
      return reinterpret_cast<intptr_t>(wholeSet_.data());
    default:
      return 0;
  }
}

void registerBackgroundPainter(HWND window, BackgroundPainter* painter) {
  std::lock_guard lock(registry().guard);
  registry().backgrounds[window] = painter;
}

void unregisterBackgroundPainter(HWND window) {
  std::lock_guard lock(registry().guard);
  registry().backgrounds.erase(window);
}

void paintParentBehind(HWND window, Painter& painter) {
  HWND parent = ::GetAncestor(window, GA_PARENT);
  RECT parentClient{};
  if (!parent || !::GetClientRect(parent, &parentClient)) {
    RECT own{};
    ::GetClientRect(window, &own);
    painter.fill(Box{own.left, own.top, own.right, own.bottom}, theme::kFace);
    return;
  }
  POINT origin{0, 0};
  ::MapWindowPoints(window, parent, &origin, 1);
  Painter behind = painter.shifted(-origin.x, -origin.y);
  const Box parentBox{parentClient.left, parentClient.top, parentClient.right, parentClient.bottom};
  if (Control* control = Control::ofWindow(parent)) {
    control->paintWhole(behind);
    return;
  }
  BackgroundPainter* background = nullptr;
  {
    std::lock_guard lock(registry().guard);
    auto found = registry().backgrounds.find(parent);
    if (found != registry().backgrounds.end()) background = found->second;
  }
  if (background)
    background->paintBackground(behind, parentBox);
  else
    behind.fill(parentBox, classBrush(parent));
}

}  // namespace qova::exui
