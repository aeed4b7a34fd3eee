#include "outside/exui/SkinButton.h"

#include "outside/exui/Fonts.h"
#include "outside/exui/PropertyTable.h"
#include "outside/exui/Theme.h"

namespace qova::exui {

SkinButton::SkinButton(HWND window, ExuiEventFunction events, PropertySet properties)
    : Control(window, events, kExuiClassButtonEx, std::move(properties)) {
  readPictures();
}

void SkinButton::readPictures() {
  images_ = decodePicturesAtDpi(properties_.bytes(kExuiPropStateImages), dpi(),
                                properties_.bytes(kExuiPropStateImages2x));
}

void SkinButton::propertyChanged(int32_t id) {
  // New pictures (the program swaps the play button's) leave no larger drawing of the old ones.
  if (id == kExuiPropStateImages && properties_.has(kExuiPropStateImages2x))
    properties_.setBytes(kExuiPropStateImages2x, ExuiValueKind::ImageSet, {});
  if (id != kExuiPropStateImages && id != kExuiPropStateImages2x && id != kExuiPropDpi) return;
  readPictures();
  // Bytes that decode to nothing leave a button with nothing drawn, as the skin asked.
}

const Picture* SkinButton::imageForState() const {
  if (images_.empty()) return nullptr;
  const bool down = pressed() && hot();
  switch (images_.size()) {
    case 1:
      return images_[0].get();
    case 2:
      return images_[down ? 1 : 0].get();
    default:
      return images_[down ? 2 : hot() ? 1 : 0].get();
  }
}

void SkinButton::paintCaptionButton(Painter& painter, const Box& client) {
  const bool down = pressed() && hot();
  const Box body = client;
  const uint32_t fill = down ? theme::kAccentPale : hot() ? theme::kAccentLight : theme::kFace;
  const uint32_t border = down ? theme::kAccentDark : hot() ? theme::kAccent : theme::kBorder;
  const uint32_t colour = static_cast<uint32_t>(integerProperty(properties_, kExuiPropTextColour));
  const uint32_t text = colour ? colour : (hot() || down) ? theme::kAccent : theme::kText;
  painter.fillRounded(body, scaled(theme::kRadius), fill);
  painter.strokeRounded(body, scaled(theme::kRadius), 1, border);
  const std::u16string caption = properties_.text(kExuiPropCaption);
  painter.text(std::wstring(caption.begin(), caption.end()), body.moved(0, down ? 1 : 0), text,
               uiFont(scaled(theme::kTextHeight)), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void SkinButton::paintFace(Painter& painter, const Box& client) {
  if (images_.empty()) {
    paintCaptionButton(painter, client);
    return;
  }
  const Picture* image = imageForState();
  // Fewer than three images have no hover picture: a light shade shows the pointer instead.
  if (images_.size() < 3 && hot()) painter.fillRounded(client, scaled(theme::kRadius), pressed() ? theme::kPressShade
                                                                                          : theme::kHoverShade);
  if (image) painter.picture(*image, fitInsideNoLarger(image->width(), image->height(), client));
}

LRESULT SkinButton::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      focusIfActive();
      beginPress();
      return 0;
    case WM_LBUTTONUP:
      if (endPress(lParam)) fire(kExuiCodeAction);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE || wParam == VK_RETURN) {
        fire(kExuiCodeAction);
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    default:
      break;
  }
  return Control::handleMessage(message, wParam, lParam);
}

}  // namespace qova::exui
