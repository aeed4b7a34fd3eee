#include "outside/aplayer/VideoWindow.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace qova::aplayer {
namespace {

constexpr const char* kClassName = "QovaAPlayerVideo";
// Window extra bytes: the handler sits there so that delivering an event
// touches no C++ object, and the handler may destroy the engine.
constexpr int kHandlerSlot = 0;

HINSTANCE moduleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// False when the class is neither registered nor registrable.
bool registerClassOnce(WNDPROC procedure) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(moduleInstance(), kClassName, &existing)) return true;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = sizeof(LONG_PTR);
  windowClass.hInstance = moduleInstance();
  windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void drawCentred(HDC target, const RECT& area, HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || ::GetObjectA(bitmap, sizeof info, &info) == 0) return;
  UniqueMemoryDc source(::CreateCompatibleDC(target));
  if (!source) return;
  HGDIOBJ previous = ::SelectObject(source.get(), bitmap);
  const int left = area.left + (area.right - area.left - info.bmWidth) / 2;
  const int top = area.top + (area.bottom - area.top - info.bmHeight) / 2;
  ::BitBlt(target, left, top, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
  ::SelectObject(source.get(), previous);
}

}  // namespace

VideoWindow::VideoWindow(HWND parent, RECT rectangle, VideoWindowListener& listener)
    : listener_(listener) {
  if (!registerClassOnce(&VideoWindow::windowProcedure)) return;
  if (parent && !::IsWindow(parent)) return;
  const int width = rectangle.right - rectangle.left;
  const int height = rectangle.bottom - rectangle.top;
  // A top-level window is shown without activation: under Wine an activated
  // popup counts as window-manager managed, and destroying it then waits two
  // seconds for a window manager that a bare X display does not have.
  const DWORD style = parent ? WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
                             : WS_POPUP | WS_CLIPCHILDREN;
  const DWORD extendedStyle = parent ? 0 : WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  window_.reset(::CreateWindowExA(extendedStyle, kClassName, "", style, rectangle.left,
                                  rectangle.top, width, height, parent, nullptr,
                                  moduleInstance(), nullptr));
  if (!window_) return;
  // Attached only now: the listener (the engine) is still being built while the window is.
  ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (!parent) ::ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
}

VideoWindow::~VideoWindow() {
  if (window_) ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

void VideoWindow::setHandler(APlayerHandler handler) {
  if (window_)
    ::SetWindowLongPtrA(window_.get(), kHandlerSlot, reinterpret_cast<LONG_PTR>(handler));
}

void VideoWindow::postHandlerEvent(int32_t code, int32_t parameter) const {
  if (window_)
    ::PostMessageA(window_.get(), kHandlerEventMessage, static_cast<WPARAM>(static_cast<uint32_t>(code)),
                   static_cast<LPARAM>(parameter));
}

void VideoWindow::setLogo(HBITMAP logo) {
  logo_ = logo;
  if (window_) ::InvalidateRect(window_.get(), nullptr, TRUE);
}

LRESULT CALLBACK VideoWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kHandlerEventMessage) {
    // Nothing of the engine is touched after the call: the handler may
    // destroy it, or open the next file.
    auto handler = reinterpret_cast<APlayerHandler>(::GetWindowLongPtrA(window, kHandlerSlot));
    if (handler) handler(static_cast<int32_t>(static_cast<uint32_t>(wParam)), static_cast<int32_t>(lParam));
    return 0;
  }
  auto* self = reinterpret_cast<VideoWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (self->window_.get() == window) {
      self->window_.release();
      self->listener_.onWindowGone();
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  return self->handle(window, message, wParam, lParam);
}

LRESULT VideoWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPlaybackMessage:
      listener_.onPlaybackNews(static_cast<uint32_t>(wParam), static_cast<PlaybackNews>(lParam));
      return 0;
    case WM_SIZE:
      // The frame is fitted to the whole client area.
      ::InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole window
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void VideoWindow::paint(HWND window) {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(window, &ps);
  RECT client{};
  ::GetClientRect(window, &client);
  if (dc && !listener_.paintVideo(dc, client)) {
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    drawCentred(dc, client, logo_);
  }
  ::EndPaint(window, &ps);
}

void unregisterVideoWindowClass() { ::UnregisterClassA(kClassName, moduleInstance()); }

}  // namespace qova::aplayer
