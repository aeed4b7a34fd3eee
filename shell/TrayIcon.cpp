#include "shell/TrayIcon.h"

#include <cstring>

#include "runtime/PictureFormat.h"

namespace qova {
namespace {

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

BOOL TrayIcon::addAgain() {
  if (::IsWindow(ownerWindow_) != TRUE) return FALSE;
  iconData_.szInfo[0] = '\0';
  iconData_.szInfoTitle[0] = '\0';
  iconData_.uFlags = kTrayIconFlags;
  return ::Shell_NotifyIconA(NIM_ADD, &iconData_) || ::Shell_NotifyIconA(NIM_MODIFY, &iconData_);
}

void TrayIcon::setEventHandler(TrayEventHandler handler, bool install) {
  if (::IsWindow(ownerWindow_) != TRUE) return;
  if (install) handler_ = std::move(handler);
}

bool TrayIcon::deliver(UINT message, LPARAM lParam) const {
  if (!handler_) return false;
  if (message == kTrayCallbackMessage) {
    handler_(static_cast<int32_t>(lParam));
    return true;
  }
  if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
    handler_(kTrayEventTaskbarCreated);
    return true;
  }
  if (message == WM_DESTROY) handler_(kTrayEventOwnerDestroyed);
  return false;
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
  ownerWindow_ = nullptr;
  handler_ = nullptr;
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

}  // namespace qova
