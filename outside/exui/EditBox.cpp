#include "outside/exui/EditBox.h"

#include "outside/exui/Fonts.h"
#include "outside/exui/PropertyTable.h"
#include "outside/exui/Theme.h"

namespace qova::exui {
namespace {

constexpr int kPadding = 6;

std::wstring wideText(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

EditBox::EditBox(HWND window, ExuiEventFunction events, PropertySet properties)
    : Control(window, events, kExuiClassEditboxEx, std::move(properties)) {}

bool EditBox::attached() {
  DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
  if (integerProperty(properties_, kExuiPropReadOnly)) style |= ES_READONLY;
  edit_ = ::CreateWindowExW(0, L"EDIT", wideText(properties_.text(kExuiPropText)).c_str(), style, 0, 0, 0, 0,
                            window(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!edit_) return false;
  faceBrush_ = ::CreateSolidBrush(rgbOf(theme::kFace));
  ::SetWindowLongPtrW(window(), GWL_STYLE, ::GetWindowLongPtrW(window(), GWL_STYLE) | WS_CLIPCHILDREN);
  return true;
}

void EditBox::detaching() {
  if (edit_ && ::IsWindow(edit_)) ::DestroyWindow(edit_);
  edit_ = nullptr;
  if (faceBrush_) ::DeleteObject(faceBrush_);
  faceBrush_ = nullptr;
}

void EditBox::layout() {
  if (!edit_) return;
  ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(scaled(theme::kTextHeight))), FALSE);
  const Box inner = client().inset(scaled(kPadding), scaled(kPadding - 2));
  ::MoveWindow(edit_, inner.left, inner.top, std::max(inner.width(), 0), std::max(inner.height(), 0), TRUE);
}

void EditBox::propertyChanged(int32_t id) {
  if (!edit_) return;
  if (id == kExuiPropText) ::SetWindowTextW(edit_, wideText(properties_.text(kExuiPropText)).c_str());
  if (id == kExuiPropReadOnly)
    ::SendMessageW(edit_, EM_SETREADONLY, integerProperty(properties_, kExuiPropReadOnly) ? TRUE : FALSE, 0);
  if (id == kExuiPropTextColour) ::InvalidateRect(edit_, nullptr, TRUE);
}

void EditBox::storeLiveState() {
  if (!edit_) return;
  const int length = ::GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(edit_, text.data(), length + 1)));
  properties_.setBytes(kExuiPropText, ExuiValueKind::Text,
                       utf16Bytes(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size())));
}

void EditBox::paintFace(Painter& painter, const Box& client) {
  const bool focused = edit_ && ::GetFocus() == edit_;
  painter.fillRounded(client, theme::kRadius, theme::kFace);
  painter.strokeRounded(client, scaled(theme::kRadius), 1, focused ? theme::kAccent : hot() ? 0xFFC0C4CC : theme::kBorder);
}

LRESULT EditBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      // A read-only EDIT asks with WM_CTLCOLORSTATIC; both get the face colour.
      HDC dc = reinterpret_cast<HDC>(wParam);
      const uint32_t colour = static_cast<uint32_t>(integerProperty(properties_, kExuiPropTextColour));
      ::SetTextColor(dc, rgbOf(colour ? colour : theme::kTextSecondary));
      ::SetBkColor(dc, rgbOf(theme::kFace));
      return reinterpret_cast<LRESULT>(faceBrush_);
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == edit_ && (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS))
        redraw();
      return 0;
    case WM_SETFOCUS:
      if (edit_) ::SetFocus(edit_);
      return 0;
    case WM_LBUTTONDOWN:
      if (edit_) focusIfActive(edit_);
      return 0;
    default:
      return Control::handleMessage(message, wParam, lParam);
  }
}

}  // namespace qova::exui
