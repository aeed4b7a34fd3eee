#include "outside/exui/GroupBox.h"

#include <windowsx.h>

#include "outside/exui/Fonts.h"
#include "outside/exui/PropertyTable.h"
#include "outside/exui/Theme.h"

namespace qova::exui {
namespace {

constexpr int kCaptionLeft = 10;
constexpr int kCaptionBand = 24;

}  // namespace

GroupBox::GroupBox(HWND window, ExuiEventFunction events, PropertySet properties)
    : Control(window, events, kExuiClassMinutesboxEx, std::move(properties)) {
  propertyChanged(kExuiPropBackground);
}

bool GroupBox::attached() {
  ::SetWindowLongPtrW(window(), GWL_STYLE, ::GetWindowLongPtrW(window(), GWL_STYLE) | WS_CLIPCHILDREN);
  return true;
}

void GroupBox::propertyChanged(int32_t id) {
  if (id == kExuiPropBackground || id == kExuiPropDpi)
    background_ = pictureAtDpi(Picture::decode(properties_.bytes(kExuiPropBackground)), dpi());
}

void GroupBox::paintFace(Painter& painter, const Box& client) {
  if (!background_->isEmpty()) {
    painter.pictureNineGrid(*background_, backgroundMargins(), client);
  } else {
    painter.fillRounded(client, scaled(theme::kRadius), theme::kFace);
    painter.strokeRounded(client, scaled(theme::kRadius), 1, theme::kBorderLight);
  }
  const std::u16string caption = properties_.text(kExuiPropCaption);
  if (caption.empty()) return;
  const uint32_t colour = static_cast<uint32_t>(integerProperty(properties_, kExuiPropTextColour));
  painter.text(std::wstring(caption.begin(), caption.end()),
               Box{client.left + scaled(kCaptionLeft), client.top, client.right - scaled(kCaptionLeft),
                   client.top + scaled(kCaptionBand)},
               colour ? colour : theme::kTextSecondary, uiFont(scaled(theme::kTitleHeight), true),
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

LRESULT GroupBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      beginPress();
      return 0;
    case WM_LBUTTONUP:
      if (endPress(lParam)) fire(kExuiCodeLeftClick, x, y);
      return 0;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click: no click of its own when released.
      fire(kExuiCodeDoubleClick, x, y);
      return 0;
    case WM_RBUTTONUP:
      if (client().contains(x, y)) fire(kExuiCodeRightClick, x, y);
      return 0;
    default:
      return Control::handleMessage(message, wParam, lParam);
  }
}

}  // namespace qova::exui
