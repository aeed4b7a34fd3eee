#include "outside/exui/MenuWindow.h"

#include <windowsx.h>

#include <cstdlib>
#include <memory>

#include "outside/exui/Canvas.h"
#include "outside/exui/Fonts.h"
#include "outside/exui/MenuLayout.h"
#include "outside/exui/Theme.h"
#include "runtime/WindowDpi.h"

namespace qova::exui {
namespace {

constexpr UINT kMenuKeyMessage = WM_APP + 0x51;  // a key press taken for the menu; wParam: virtual key
constexpr int kArmDistance = 2;                  // pointer travel that makes a release count
constexpr Margins kFaceMargins{4, 4, 4, 4};
constexpr int kSeparatorInset = 8;

HINSTANCE libraryInstance() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&libraryInstance), &module);
  return module;
}

// What the caller of a modal popup learns, kept apart from the session,
// which may be gone by the time the caller looks.
struct Outcome {
  bool open = true;
  int32_t chosen = 0;
};

class MenuSession {
 public:
  // The menu laid out at `dpi`, its sizes given at 96 DPI.
  MenuSession(const Menu& menu, int dpi, std::shared_ptr<Outcome> outcome);
  ~MenuSession();
  MenuSession(const MenuSession&) = delete;
  MenuSession& operator=(const MenuSession&) = delete;

  bool show(int x, int y, HWND owner);
  // Ends the session; `index` -1 for no choice. Calls the callback last:
  // nothing of the session may be touched after this returns.
  void close(int index);
  HWND window() const { return closing_ ? nullptr : window_; }
  const Menu& menu() const { return menu_; }
  const MenuLayout& layout() const { return layout_; }
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void paint();
  void setHot(int index);
  void pointerMoved(int x, int y);
  void key(WPARAM key);
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < layout_.width() && y < layout_.height(); }

  Menu menu_;
  int dpi_;
  MenuLayout layout_;
  std::shared_ptr<Outcome> outcome_;
  HWND window_ = nullptr;
  HHOOK keyHook_ = nullptr;
  Canvas canvas_;
  POINT shownAt_{};
  POINT lastPointer_{};
  int hot_ = -1;
  bool armed_ = false;
  bool closing_ = false;
};

std::unique_ptr<MenuSession>& current() {
  static std::unique_ptr<MenuSession> session;
  return session;
}

LRESULT CALLBACK keyHookProcedure(int code, WPARAM removed, LPARAM message) {
  auto* msg = reinterpret_cast<MSG*>(message);
  HWND menuWindow = current() ? current()->window() : nullptr;
  if (code == HC_ACTION && removed == PM_REMOVE && msg && menuWindow) {
    switch (msg->message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        msg->hwnd = menuWindow;
        msg->message = kMenuKeyMessage;
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_CHAR:
      case WM_SYSCHAR:
      case WM_DEADCHAR:
        msg->message = WM_NULL;
        break;
      default:
        break;
    }
  }
  return ::CallNextHookEx(nullptr, code, removed, message);
}

LRESULT CALLBACK menuWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* session = reinterpret_cast<MenuSession*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (session && session->window() == window) return session->handle(message, wParam, lParam);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

ATOM& menuClassAtom() {
  static ATOM atom = 0;
  return atom;
}

bool registerMenuWindowClass() {
  if (menuClassAtom()) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DROPSHADOW | CS_SAVEBITS;
  windowClass.lpfnWndProc = &menuWindowProcedure;
  windowClass.hInstance = libraryInstance();
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kExuiMenuWindowClass;
  menuClassAtom() = ::RegisterClassExW(&windowClass);
  return menuClassAtom() != 0;
}

std::vector<MenuItemShape> shapesOf(const Menu& menu) {
  std::vector<MenuItemShape> shapes;
  for (const MenuItem& item : menu.items)
    shapes.push_back({item.height, item.minimumWidth, textWidth(item.caption, menu.font), item.separator,
                      item.disabled});
  return shapes;
}

// The menu's sizes, fonts and icons at `dpi`.
Menu menuAtDpi(const Menu& menu, int dpi) {
  if (dpi == kDesignDpi) return menu;
  Menu scaled = menu;
  scaled.iconWidth = scaledForDpi(menu.iconWidth, dpi);
  scaled.iconHeight = scaledForDpi(menu.iconHeight, dpi);
  FontDescription font = menu.fontDescription;
  font.height = scaledForDpi(font.height > 0 ? font.height : theme::kTextHeight, dpi);
  scaled.font = describedFont(font);
  for (MenuItem& item : scaled.items) {
    item.minimumWidth = scaledForDpi(item.minimumWidth, dpi);
    item.height = scaledForDpi(item.height, dpi);
    item.icon = pictureAtDpi(item.icon, dpi);
  }
  return scaled;
}

MenuMetrics metricsOf(const Menu& menu, int dpi) {
  MenuMetrics metrics;
  metrics.padding = scaledForDpi(metrics.padding, dpi);
  metrics.iconWidth = menu.iconWidth;
  metrics.iconHeight = menu.iconHeight;
  metrics.iconLeft = scaledForDpi(metrics.iconLeft, dpi);
  metrics.captionGap = scaledForDpi(metrics.captionGap, dpi);
  metrics.captionRight = scaledForDpi(metrics.captionRight, dpi);
  metrics.separatorHeight = scaledForDpi(metrics.separatorHeight, dpi);
  return metrics;
}

Margins faceMarginsAt(int dpi) {
  return Margins{scaledForDpi(kFaceMargins.left, dpi), scaledForDpi(kFaceMargins.top, dpi),
                 scaledForDpi(kFaceMargins.right, dpi), scaledForDpi(kFaceMargins.bottom, dpi)};
}

}  // namespace

MenuSession::MenuSession(const Menu& menu, int dpi, std::shared_ptr<Outcome> outcome)
    : menu_(menuAtDpi(menu, dpi)),
      dpi_(dpi),
      layout_(metricsOf(menu_, dpi), shapesOf(menu_)),
      outcome_(std::move(outcome)) {}

MenuSession::~MenuSession() {
  if (keyHook_) ::UnhookWindowsHookEx(keyHook_);
  if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
}

bool MenuSession::show(int x, int y, HWND owner) {
  if (!registerMenuWindowClass()) return false;
  // Kept on the work area of the screen the point is on, opening leftwards or upwards when needed.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  int left = x + layout_.width() > work.right ? x - layout_.width() : x;
  int top = y + layout_.height() > work.bottom ? y - layout_.height() : y;
  left = std::max<int>(work.left, std::min<int>(left, work.right - layout_.width()));
  top = std::max<int>(work.top, std::min<int>(top, work.bottom - layout_.height()));

  DWORD extended = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  if (menu_.opacity < 255) extended |= WS_EX_LAYERED;
  window_ = ::CreateWindowExW(extended, kExuiMenuWindowClass, L"", WS_POPUP, left, top, layout_.width(),
                              layout_.height(), owner && ::IsWindow(owner) ? owner : nullptr, nullptr,
                              libraryInstance(), nullptr);
  if (!window_) return false;
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (menu_.opacity < 255) ::SetLayeredWindowAttributes(window_, 0, menu_.opacity, LWA_ALPHA);
  ::GetCursorPos(&shownAt_);
  lastPointer_ = shownAt_;
  // Clicks outside reach the menu only while its thread is in the foreground.
  HWND foreground = ::GetForegroundWindow();
  if (owner && ::IsWindowVisible(owner) &&
      (!foreground || ::GetWindowThreadProcessId(foreground, nullptr) != ::GetCurrentThreadId()))
    ::SetForegroundWindow(owner);
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
  ::UpdateWindow(window_);
  ::SetCapture(window_);
  keyHook_ = ::SetWindowsHookExW(WH_GETMESSAGE, &keyHookProcedure, nullptr, ::GetCurrentThreadId());
  return true;
}

void MenuSession::close(int index) {
  if (closing_) return;
  closing_ = true;
  if (keyHook_) ::UnhookWindowsHookEx(keyHook_);
  keyHook_ = nullptr;
  if (::GetCapture() == window_) ::ReleaseCapture();
  HWND window = window_;
  window_ = nullptr;
  ::DestroyWindow(window);

  const bool chosen = layout_.choosable(index);
  const MenuItem item = chosen ? menu_.items[static_cast<size_t>(index)] : MenuItem{};
  const ExuiMenuCallback callback = menu_.callback;
  const int32_t handle = menu_.handle;
  const int32_t number = menu_.number;
  outcome_->open = false;
  outcome_->chosen = chosen ? item.id : 0;
  if (chosen && callback) callback(handle, kExuiCodeMenuItemChosen, item.id, item.data, number, 0);
}

void MenuSession::setHot(int index) {
  if (index == hot_) return;
  hot_ = index;
  ::InvalidateRect(window_, nullptr, FALSE);
}

void MenuSession::pointerMoved(int x, int y) {
  POINT screen{x, y};
  ::ClientToScreen(window_, &screen);
  // A window appearing under a resting pointer gets a move too: only real moves
  // take the highlight from the keys.
  if (screen.x == lastPointer_.x && screen.y == lastPointer_.y) return;
  lastPointer_ = screen;
  if (std::abs(screen.x - shownAt_.x) > kArmDistance || std::abs(screen.y - shownAt_.y) > kArmDistance)
    armed_ = true;
  const int index = inside(x, y) ? layout_.itemAt(x, y) : -1;
  setHot(layout_.choosable(index) ? index : -1);
}

void MenuSession::key(WPARAM key) {
  switch (key) {
    case VK_UP:
      setHot(hot_ < 0 ? layout_.lastChoosable() : layout_.nextChoosable(hot_, -1));
      break;
    case VK_DOWN:
      setHot(hot_ < 0 ? layout_.firstChoosable() : layout_.nextChoosable(hot_, +1));
      break;
    case VK_HOME:
      setHot(layout_.firstChoosable());
      break;
    case VK_END:
      setHot(layout_.lastChoosable());
      break;
    case VK_RETURN:
    case VK_SPACE:
      if (hot_ >= 0) close(hot_);
      break;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10:
      close(-1);
      break;
    default:
      break;
  }
}

void MenuSession::paint() {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(window_, &ps);
  const Box client{0, 0, layout_.width(), layout_.height()};
  if (dc && canvas_.reserve(client.width(), client.height())) {
    Painter painter(canvas_, 0, 0);
    painter.fill(client, theme::kFace);
    if (!menu_.face->isEmpty())
      painter.pictureNineGrid(*menu_.face, faceMarginsAt(dpi_), client);
    else
      painter.strokeRounded(client, 0, 1, theme::kBorderLight);
    for (int index = 0; index < layout_.count(); ++index) {
      const MenuItem& item = menu_.items[static_cast<size_t>(index)];
      const Box box = layout_.itemBox(index);
      if (item.separator) {
        const int middle = box.top + box.height() / 2;
        const int inset = scaledForDpi(kSeparatorInset, dpi_);
        painter.fill(Box{box.left + inset, middle, box.right - inset, middle + 1}, theme::kBorderLight);
        continue;
      }
      const bool isHot = index == hot_;
      if (isHot && !menu_.hotFace->isEmpty())
        painter.pictureNineGrid(*menu_.hotFace, faceMarginsAt(dpi_), box);
      else if (isHot)
        painter.fillRounded(box.inset(0, 1), scaledForDpi(theme::kRadius, dpi_), theme::kAccentLight);
      if (!item.icon->isEmpty())
        painter.picture(*item.icon, fitInsideNoLarger(item.icon->width(), item.icon->height(), layout_.iconBox(index)));
      uint32_t colour = (item.textColour >> 24) ? item.textColour : theme::kText;
      if (isHot && (item.hotColour >> 24)) colour = item.hotColour;
      if (item.disabled) colour = theme::kTextDisabled;
      painter.text(item.caption, layout_.captionBox(index), colour, menu_.font,
                   DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    canvas_.present(dc, 0, 0, client.width(), client.height());
  }
  ::EndPaint(window_, &ps);
}

LRESULT MenuSession::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
      pointerMoved(x, y);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      if (!inside(x, y)) {
        close(-1);  // the click that closes the menu goes nowhere else
        return 0;
      }
      armed_ = true;
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const int index = inside(x, y) ? layout_.itemAt(x, y) : -1;
      if (armed_ && layout_.choosable(index)) close(index);
      return 0;
    }
    case kMenuKeyMessage:
      key(wParam);
      return 0;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      close(-1);
      return 0;
    case WM_ACTIVATEAPP:
      if (!wParam) close(-1);
      return 0;
    default:
      return ::DefWindowProcW(window_, message, wParam, lParam);
  }
}

int32_t popUpMenu(const Menu& menu, int x, int y, HWND owner, bool modal) {
  closeOpenMenu();
  if (menu.items.empty()) return 0;
  auto outcome = std::make_shared<Outcome>();
  // Laid out at the DPI of the window it belongs to (of the system without one).
  current() = std::make_unique<MenuSession>(menu, windowDpi(owner && ::IsWindow(owner) ? owner : nullptr), outcome);
  if (!current()->show(x, y, owner)) {
    current().reset();
    return 0;
  }
  if (!modal) return 1;
  MSG message{};
  while (outcome->open) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      closeOpenMenu();
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));  // the loop above ours must end too
      break;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return outcome->chosen;
}

void closeOpenMenu() {
  std::unique_ptr<MenuSession> session = std::move(current());
  if (session) session->close(-1);
}

HWND openMenuWindow() { return current() ? current()->window() : nullptr; }

bool openMenuItemRect(int32_t menu, int32_t item, RECT* rect) {
  HWND window = openMenuWindow();
  if (!window || !rect || current()->menu().handle != menu) return false;
  const auto& items = current()->menu().items;
  for (size_t index = 0; index < items.size(); ++index) {
    if (items[index].id != item) continue;
    const Box box = current()->layout().itemBox(static_cast<int>(index));
    POINT corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
    ::MapWindowPoints(window, nullptr, corners, 2);
    *rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
  }
  return false;
}

void unregisterMenuWindowClass() {
  if (menuClassAtom()) ::UnregisterClassW(kExuiMenuWindowClass, libraryInstance());
  menuClassAtom() = 0;
}

}  // namespace qova::exui
