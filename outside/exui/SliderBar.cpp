#include "outside/exui/SliderBar.h"

#include <windowsx.h>

#include <optional>

#include "outside/exui/PropertyTable.h"
#include "outside/exui/Theme.h"

namespace qova::exui {
namespace {

constexpr int kThumb = 14;
constexpr int kTrack = 4;

std::optional<SliderKey> sliderKeyOf(WPARAM key) {
  switch (key) {
    case VK_LEFT: return SliderKey::Left;
    case VK_RIGHT: return SliderKey::Right;
    case VK_UP: return SliderKey::Up;
    case VK_DOWN: return SliderKey::Down;
    case VK_PRIOR: return SliderKey::PageUp;
    case VK_NEXT: return SliderKey::PageDown;
    case VK_HOME: return SliderKey::Home;
    case VK_END: return SliderKey::End;
    default: return std::nullopt;
  }
}

}  // namespace

SliderBar::SliderBar(HWND window, ExuiEventFunction events, PropertySet properties)
    : Control(window, events, kExuiClassSliderbarEx, std::move(properties)) {
  propertyChanged(kExuiPropValue);
}

SliderScale SliderBar::scale() const {
  return SliderScale(integerProperty(properties_, kExuiPropMinimum), integerProperty(properties_, kExuiPropMaximum));
}

int SliderBar::value() const { return scale().clamp(integerProperty(properties_, kExuiPropValue)); }

void SliderBar::propertyChanged(int32_t) {
  // A value set from outside is kept within the range, silently.
  properties_.setInteger(kExuiPropValue, value());
}

int SliderBar::travelLeft() const { return client().left + scaled(kThumb) / 2 + 1; }

int SliderBar::travelRight() const { return std::max(travelLeft(), client().right - scaled(kThumb) / 2 - 1); }

void SliderBar::moveTo(int wanted) {
  const int next = scale().clamp(wanted);
  if (next == value()) return;
  properties_.setInteger(kExuiPropValue, next);
  redrawNow();
  fire(kExuiCodeAction, next);
}

void SliderBar::paintFace(Painter& painter, const Box& client) {
  const int middle = client.top + client.height() / 2;
  const int thumbX = scale().positionOf(value(), travelLeft(), travelRight());
  const int track = scaled(kTrack);
  const int thumbSize = scaled(kThumb);
  const int halo = scaled(3);
  const Box trackBox{travelLeft() - track / 2, middle - track / 2, travelRight() + track / 2,
                     middle - track / 2 + track};
  painter.fillRounded(trackBox, track / 2.0, theme::kBorderLight);
  painter.fillRounded(Box{trackBox.left, trackBox.top, thumbX, trackBox.bottom}, track / 2.0, theme::kAccent);
  const int grow = hot() || pressed() ? scaled(1) : 0;
  const Box thumb = Box::sized(thumbX - thumbSize / 2 - grow, middle - thumbSize / 2 - grow, thumbSize + 2 * grow,
                               thumbSize + 2 * grow);
  if (::GetFocus() == window()) painter.fillRounded(thumb.inset(-halo, -halo), thumbSize / 2.0 + halo, 0x333A8EE6);
  painter.fillRounded(thumb, thumb.width() / 2.0, theme::kFace);
  painter.strokeRounded(thumb, thumb.width() / 2.0, 2.0 * dpi() / kDesignDpi,
                        pressed() ? theme::kAccentDark : theme::kAccent);
}

LRESULT SliderBar::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      focusIfActive();
      beginPress();
      moveTo(scale().valueAt(GET_X_LPARAM(lParam), travelLeft(), travelRight()));
      return 0;
    case WM_MOUSEMOVE:
      if (pressed()) moveTo(scale().valueAt(GET_X_LPARAM(lParam), travelLeft(), travelRight()));
      break;
    case WM_LBUTTONUP:
      endPress(lParam);
      return 0;
    case WM_MOUSEWHEEL: {
      wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
      const int notches = wheelRemainder_ / WHEEL_DELTA;
      wheelRemainder_ -= notches * WHEEL_DELTA;
      if (notches != 0) moveTo(scale().afterWheel(value(), notches));
      return 0;
    }
    case WM_KEYDOWN:
      if (auto key = sliderKeyOf(wParam)) {
        moveTo(scale().afterKey(value(), *key));
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      redraw();
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    default:
      break;
  }
  return Control::handleMessage(message, wParam, lParam);
}

}  // namespace qova::exui
