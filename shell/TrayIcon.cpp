#include "shell/TrayIcon.h"

#include <cstring>

#include "runtime/PictureFormat.h"

namespace qova {
namespace {

// The names under which the owner window carries what trayWindowProc needs,
// so the procedure keeps no state of its own.
constexpr const char* kPropPreviousProc = "WinProc";
constexpr const char* kPropCallbackMessage = "CallbackMessage";
constexpr const char* kPropTaskbarCreated = "TaskbarCreatedMessage";
constexpr const char* kPropHandler = "Exec Event";

constexpr UINT kBalloonDefaultTimeout = 3000;

// The record as the shell of Windows 2000 and later knows it, on this platform.
constexpr DWORD kIconDataSize = NOTIFYICONDATAA_V2_SIZE;

template <size_t N>
void copyCut(char (&field)[N], std::string_view text) {
  copyCutText(field, N, text);
}

}  // namespace

void copyCutText(char* field, size_t size, std::string_view text) {
  if (text.empty() || size == 0) return;
  const size_t length = std::min(text.size(), size - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

TrayIcon::TrayIcon() : taskbarCreatedMessage_(::RegisterWindowMessageA("TaskbarCreated")) {}

TrayIcon::~TrayIcon() { remove(); }

BOOL TrayIcon::add(HWND owner, std::string_view iconBytes, bool useBytes, const std::string& tip) {
  if (::IsWindow(owner) != TRUE) return FALSE;
  ownerWindow_ = owner;
  iconData_.hIcon = useBytes
                        ? iconFromIcoBytes(iconBytes, 0, nullptr, nullptr)
                        : reinterpret_cast<HICON>(::SendMessageA(owner, WM_GETICON, ICON_SMALL, 0));
  iconData_.cbSize = kIconDataSize;
  iconData_.hWnd = owner;
  iconData_.uID = kTrayIconId;
  iconData_.uFlags = kTrayIconFlags;
  iconData_.uCallbackMessage = kTrayCallbackMessage;
  iconData_.uTimeout = kTrayDefaultTimeout;
  copyCut(iconData_.szTip, tip);
  return ::Shell_NotifyIconA(NIM_ADD, &iconData_);
}

void TrayIcon::setEventHandler(TrayEventHandler handler, bool install) {
  if (::IsWindow(ownerWindow_) != TRUE) return;
  previousWndProc_ = ::SetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC,
                                         reinterpret_cast<LONG_PTR>(&TrayIcon::trayWindowProc));
  ::SetPropA(ownerWindow_, kPropPreviousProc, reinterpret_cast<HANDLE>(previousWndProc_));
  ::SetPropA(ownerWindow_, kPropCallbackMessage,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(kTrayCallbackMessage)));
  ::SetPropA(ownerWindow_, kPropTaskbarCreated,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(taskbarCreatedMessage_)));
  if (install)
    ::SetPropA(ownerWindow_, kPropHandler, reinterpret_cast<HANDLE>(reinterpret_cast<void*>(handler)));
}

BOOL TrayIcon::setTip(const std::string& tip) {
  copyCut(iconData_.szTip, tip);
  return ::Shell_NotifyIconA(NIM_MODIFY, &iconData_);
}

BOOL TrayIcon::showBalloon(const std::string& title, const std::string& text, int32_t iconKind,
                           int32_t timeoutMilliseconds) {
  iconData_.dwInfoFlags = static_cast<DWORD>(iconKind);
  copyCut(iconData_.szInfoTitle, title);
  copyCut(iconData_.szInfo, text);
  iconData_.uTimeout = timeoutMilliseconds != 0 ? static_cast<UINT>(timeoutMilliseconds)
                                                : kBalloonDefaultTimeout;
  return ::Shell_NotifyIconA(NIM_MODIFY, &iconData_);
}

BOOL TrayIcon::setIcon(std::string_view iconBytes) {
  HICON icon = iconFromIcoBytes(iconBytes, 0, nullptr, nullptr);
  if (!icon) return FALSE;
  iconData_.uFlags = kTrayIconFlags;
  iconData_.hIcon = icon;
  return ::Shell_NotifyIconA(NIM_MODIFY, &iconData_);
}

BOOL TrayIcon::remove() {
  if (previousWndProc_ != 0) ::SetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC, previousWndProc_);
  ownerWindow_ = nullptr;
  previousWndProc_ = 0;
  iconData_.szInfo[0] = '\0';
  iconData_.szInfoTitle[0] = '\0';
  return ::Shell_NotifyIconA(NIM_DELETE, &iconData_);
}

HICON TrayIcon::iconFromIcoBytes(std::string_view iconBytes, int index, int* width, int* height) {
  if (auto size = iconEntrySizeAt(iconBytes, index)) {
    if (width) *width = size->width;
    if (height) *height = size->height;
  }
  auto image = iconImageAt(iconBytes, index);
  if (!image) return nullptr;
  return ::CreateIconFromResource(
      reinterpret_cast<BYTE*>(const_cast<char*>(iconBytes.data() + image->offset)), image->size,
      TRUE, 0x30000);
}

HWND TrayIcon::trayToolbar() {
  HWND window = ::FindWindowA("Shell_TrayWnd", nullptr);
  for (const char* child : {"TrayNotifyWnd", "SysPager", "ToolbarWindow32"})
    window = window ? ::FindWindowExA(window, nullptr, child, nullptr) : nullptr;
  return window;
}

HWND TrayIcon::overflowToolbar() {
  HWND window = ::FindWindowA("NotifyIconOverflowWindow", nullptr);
  return window ? ::FindWindowExA(window, nullptr, "ToolbarWindow32", nullptr) : nullptr;
}

void TrayIcon::sweepDeadIcons(bool overflow) {
  HWND overflowBar = overflowToolbar();
  HWND trayBar = trayToolbar();
  HWND toolbar = overflow ? overflowBar : trayBar;
  RECT client{};
  if (!::GetClientRect(toolbar, &client)) client = {};
  const LONG rows = client.bottom / 2;
  const LONG columns = client.right / 2;
  for (LONG i = 1; i <= rows; ++i)
    for (LONG j = 1; j <= columns; ++j)
      ::SendMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(2 * j, 2 * i));
}

LRESULT CALLBACK TrayIcon::trayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(::GetPropA(window, kPropPreviousProc));
  const auto callbackMessage =
      static_cast<UINT>(reinterpret_cast<UINT_PTR>(::GetPropA(window, kPropCallbackMessage)));
  const auto taskbarMessage =
      static_cast<UINT>(reinterpret_cast<UINT_PTR>(::GetPropA(window, kPropTaskbarCreated)));
  auto handler = reinterpret_cast<TrayEventHandler>(
      reinterpret_cast<void*>(::GetPropA(window, kPropHandler)));

  if (handler && message == callbackMessage && callbackMessage != 0) {
    handler(static_cast<int32_t>(lParam));
    return 0;
  }
  if (handler && message == taskbarMessage && taskbarMessage != 0) {
    handler(kTrayEventTaskbarCreated);
    return 0;
  }
  if (handler && message == WM_DESTROY) handler(kTrayEventOwnerDestroyed);
  return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

}  // namespace qova
