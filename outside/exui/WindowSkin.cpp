#include "outside/exui/WindowSkin.h"

#include <windowsx.h>

#include <map>
#include <mutex>

#include "outside/exui/Fonts.h"
#include "outside/exui/PropertyTable.h"
#include "outside/exui/Theme.h"

namespace qova::exui {
namespace {

constexpr const wchar_t* kIsWinControlProperty = L"Tab_IsWinControl";
constexpr int kBorderInset = 1;
constexpr int kTitleLeft = 12;
constexpr int kTitleRight = 40;  // kept free for the close button

enum CloseState { kCloseNormal = 0, kCloseHover = 1, kClosePressed = 2 };

// Skinned parent windows: the procedure ours replaced and the skin (null once
// the skin left while another procedure sat on top of ours).
struct SkinnedParent {
  WNDPROC previous = nullptr;
  WindowSkin* skin = nullptr;
};

struct ParentTable {
  std::mutex guard;
  std::map<HWND, SkinnedParent> parents;
};

ParentTable& parents() {
  static ParentTable table;
  return table;
}

SkinnedParent parentEntry(HWND window) {
  std::lock_guard lock(parents().guard);
  auto found = parents().parents.find(window);
  return found == parents().parents.end() ? SkinnedParent{} : found->second;
}

}  // namespace

WindowSkin::WindowSkin(HWND window, ExuiEventFunction events, PropertySet properties)
    : Control(window, events, kExuiClassWindowEx, std::move(properties)),
      frame_(integerProperty(properties_, kExuiPropWindowRole) == kExuiWindowRoleFrame) {
  readPictures();
}

void WindowSkin::readPictures() {
  background_ = pictureAtDpi(Picture::decode(properties_.bytes(kExuiPropBackground)), dpi());
  closeImages_ = decodePicturesAtDpi(properties_.bytes(kExuiPropCloseImages), dpi(),
                                     properties_.bytes(kExuiPropCloseImages2x));
  if (!closeImages_.empty() && closeImages_.front()->isEmpty()) closeImages_.clear();
}

bool WindowSkin::attached() {
  if (!frame_) {
    ::SetWindowLongPtrW(window(), GWL_STYLE, ::GetWindowLongPtrW(window(), GWL_STYLE) | WS_CLIPCHILDREN);
    return true;
  }
  parent_ = ::GetAncestor(window(), GA_PARENT);
  if (!parent_ || parent_ == ::GetDesktopWindow()) return false;
  ::SetPropW(window(), kIsWinControlProperty, reinterpret_cast<HANDLE>(1));
  if (parentEntry(parent_).skin) return false;  // one frame skin per window
  {
    std::lock_guard lock(parents().guard);
    SkinnedParent& entry = parents().parents[parent_];
    entry.skin = this;
    if (!entry.previous)
      entry.previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
          parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowSkin::frameProcedure)));
    subclassed_ = entry.previous != nullptr;
  }
  ::SetWindowLongPtrW(parent_, GWL_STYLE, ::GetWindowLongPtrW(parent_, GWL_STYLE) | WS_CLIPCHILDREN);
  registerBackgroundPainter(parent_, this);
  ::RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return subclassed_;
}

void WindowSkin::detaching() {
  if (!frame_ || !parent_) return;
  unregisterBackgroundPainter(parent_);
  if (subclassed_) releaseParent();
  if (::IsWindow(window())) ::RemovePropW(window(), kIsWinControlProperty);
  if (::IsWindow(parent_)) ::RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void WindowSkin::propertyChanged(int32_t id) {
  if (id == kExuiPropCloseImages && properties_.has(kExuiPropCloseImages2x))
    properties_.setBytes(kExuiPropCloseImages2x, ExuiValueKind::ImageSet, {});
  if (id == kExuiPropBackground || id == kExuiPropCloseImages || id == kExuiPropCloseImages2x || id == kExuiPropDpi)
    readPictures();
  if (frame_ && parent_) ::RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void WindowSkin::layout() {
  if (!frame_ || !parent_) return;
  RECT parentClient{};
  ::GetClientRect(parent_, &parentClient);
  const int width = closeImages_.empty() ? 0 : closeImages_.front()->width();
  const int height = closeImages_.empty() ? 0 : closeImages_.front()->height();
  // Flush with the top, so that it stays inside a band as high as itself.
  ::SetWindowPos(window(), HWND_TOP, parentClient.right - width - kBorderInset, 0, width, height, SWP_NOACTIVATE);
}

std::wstring WindowSkin::title() const {
  const std::u16string caption = properties_.text(kExuiPropCaption);
  if (!caption.empty()) return std::wstring(caption.begin(), caption.end());
  wchar_t text[256] = {};
  ::GetWindowTextW(parent_, text, static_cast<int>(std::size(text)));
  return text;
}

void WindowSkin::paintBackground(Painter& painter, const Box& client) {
  const int band = std::clamp(scaled(integerProperty(properties_, kExuiPropBandHeight)), 0, client.height());
  if (!background_->isEmpty()) {
    painter.fill(client, theme::kFace);
    painter.pictureNineGrid(*background_, backgroundMargins(), client);
  } else {
    painter.fill(client, theme::kFace);
    painter.fill(Box{client.left, client.top, client.right, client.top + band}, theme::kFrameBand);
    painter.strokeRounded(client, 0, 1, theme::kFrameBorder);
  }
  const uint32_t colour = static_cast<uint32_t>(integerProperty(properties_, kExuiPropTextColour));
  painter.text(title(), Box{client.left + scaled(kTitleLeft), client.top, client.right - scaled(kTitleRight),
                            client.top + band},
               colour ? colour : theme::kText, uiFont(scaled(theme::kTextHeight)),
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void WindowSkin::paintPanel(Painter& painter, const Box& client) {
  if (!background_->isEmpty()) {
    painter.pictureNineGrid(*background_, backgroundMargins(), client);
    return;
  }
  painter.fillRounded(client, scaled(theme::kRadius), theme::kPanel);
  painter.strokeRounded(client, scaled(theme::kRadius), 1, theme::kBorderLight);
}

void WindowSkin::paintFace(Painter& painter, const Box& client) {
  if (!frame_) {
    paintPanel(painter, client);
    return;
  }
  if (closeImages_.empty()) return;
  const int state = pressed() && hot() ? kClosePressed : (hot() || pressed()) ? kCloseHover : kCloseNormal;
  const size_t index = std::min(static_cast<size_t>(state), closeImages_.size() - 1);
  painter.picture(*closeImages_[index], client);
}

LRESULT WindowSkin::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!frame_) return Control::handleMessage(message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      beginPress();
      return 0;
    case WM_LBUTTONUP:
      if (endPress(lParam)) {
        ::ShowWindow(parent_, SW_HIDE);
        fire(kExuiCodeClosed, 0);
      }
      return 0;
    default:
      return Control::handleMessage(message, wParam, lParam);
  }
}

void WindowSkin::paintFrameInto(HDC dc) {
  RECT rect{};
  ::GetClientRect(parent_, &rect);
  const Box client{rect.left, rect.top, rect.right, rect.bottom};
  if (client.empty() || !frameCanvas_.reserve(client.width(), client.height())) return;
  Painter painter(frameCanvas_, 0, 0);
  paintBackground(painter, client);
  frameCanvas_.present(dc, 0, 0, client.width(), client.height());
}

LRESULT WindowSkin::handleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      paintFrameInto(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PRINTCLIENT:
      paintFrameInto(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_NCHITTEST: {
      const LRESULT hit = callParent(message, wParam, lParam);
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ::ScreenToClient(parent_, &point);
      // The band drags the window, as a caption would.
      if (hit == HTCLIENT && point.y < scaled(integerProperty(properties_, kExuiPropBandHeight))) return HTCAPTION;
      return hit;
    }
    case WM_SIZE: {
      const LRESULT result = callParent(message, wParam, lParam);
      layout();
      ::RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return result;
    }
    case WM_SETTEXT: {
      const LRESULT result = callParent(message, wParam, lParam);
      ::RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
      return result;
    }
    case WM_MOUSEWHEEL: {
      // The wheel goes to the focus window; the control under the pointer is the one meant.
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      HWND target = ::WindowFromPoint(point);
      if (target && target != parent_ && ::IsChild(parent_, target) && Control::ofWindow(target))
        return ::SendMessageW(target, message, wParam, lParam);
      return callParent(message, wParam, lParam);
    }
    default:
      return callParent(message, wParam, lParam);
  }
}

LRESULT WindowSkin::callParent(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(parentEntry(parent_).previous, parent_, message, wParam, lParam);
}

void WindowSkin::releaseParent() {
  subclassed_ = false;
  std::lock_guard lock(parents().guard);
  auto found = parents().parents.find(parent_);
  if (found == parents().parents.end()) return;
  const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(parent_, GWLP_WNDPROC));
  if (::IsWindow(parent_) && current == &WindowSkin::frameProcedure) {
    ::SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
    parents().parents.erase(found);
  } else {
    found->second.skin = nullptr;  // ours stays in the chain and passes everything on
  }
}

LRESULT CALLBACK WindowSkin::frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const SkinnedParent entry = parentEntry(window);
  if (message == WM_NCDESTROY) {
    std::lock_guard lock(parents().guard);
    parents().parents.erase(window);
  }
  if (entry.skin && message != WM_NCDESTROY) return entry.skin->handleFrameMessage(message, wParam, lParam);
  if (entry.skin) {
    unregisterBackgroundPainter(window);
    entry.skin->subclassed_ = false;
  }
  return entry.previous ? ::CallWindowProcW(entry.previous, window, message, wParam, lParam)
                        : ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qova::exui
