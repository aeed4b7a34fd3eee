#include "outside/exui/RadioButton.h"

#include "outside/exui/Fonts.h"
#include "outside/exui/PropertyTable.h"
#include "outside/exui/Theme.h"

namespace qova::exui {
namespace {

constexpr int kMark = 14;
constexpr int kCaptionGap = 6;
constexpr int kDotInset = 4;

}  // namespace

RadioButton::RadioButton(HWND window, ExuiEventFunction events, PropertySet properties)
    : Control(window, events, kExuiClassRadiobuttonEx, std::move(properties)) {}

bool RadioButton::checked() const { return integerProperty(properties_, kExuiPropChecked) != 0; }

void RadioButton::setChecked(bool checked) {
  if (checked == this->checked()) return;
  properties_.setInteger(kExuiPropChecked, checked ? 1 : 0);
  redraw();
}

void RadioButton::propertyChanged(int32_t id) {
  if (id == kExuiPropChecked && checked()) uncheckSiblings();
}

void RadioButton::uncheckSiblings() {
  HWND parent = ::GetAncestor(window(), GA_PARENT);
  for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
    Control* other = sibling == window() ? nullptr : Control::ofWindow(sibling);
    if (other && other->classNumber() == kExuiClassRadiobuttonEx) static_cast<RadioButton*>(other)->setChecked(false);
  }
}

void RadioButton::choose() {
  setChecked(true);
  uncheckSiblings();
  fire(kExuiCodeAction, 1);
}

void RadioButton::paintFace(Painter& painter, const Box& client) {
  const int size = scaled(kMark);
  const int dot = scaled(kDotInset);
  const int top = client.top + (client.height() - size) / 2;
  const Box mark = Box::sized(client.left + 1, top, size, size);
  const bool on = checked();
  const double stroke = (on ? 1.5 : 1.0) * dpi() / kDesignDpi;
  painter.fillRounded(mark, size / 2.0, theme::kFace);
  painter.strokeRounded(mark, size / 2.0, stroke, on || hot() ? theme::kAccent : theme::kBorder);
  if (on) painter.fillRounded(mark.inset(dot, dot), (size - 2 * dot) / 2.0, theme::kAccent);
  const std::u16string caption = properties_.text(kExuiPropCaption);
  const uint32_t colour = static_cast<uint32_t>(integerProperty(properties_, kExuiPropTextColour));
  painter.text(std::wstring(caption.begin(), caption.end()),
               Box{mark.right + scaled(kCaptionGap), client.top, client.right, client.bottom},
               colour ? colour : on ? theme::kAccent : theme::kText, uiFont(scaled(theme::kTextHeight)),
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

LRESULT RadioButton::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      focusIfActive();
      beginPress();
      return 0;
    case WM_LBUTTONUP:
      if (endPress(lParam)) choose();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        choose();
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_RADIOBUTTON;
    default:
      break;
  }
  return Control::handleMessage(message, wParam, lParam);
}

}  // namespace qova::exui
