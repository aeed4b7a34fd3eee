#pragma once
// The notification-area icon. TrayIcon adds, changes and deletes the icon
// through Shell_NotifyIconA and subclasses the window that owns it, so that
// the shell's mouse notifications reach the application as plain event codes.
// Destroying the object deletes the icon and gives the window its old
// procedure back.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace qova {

// Receives the icon's events: the mouse message the shell reports (514 left
// button up, 517 right button up, ...), kTrayEventTaskbarCreated or kTrayEventOwnerDestroyed.
using TrayEventHandler = void (*)(int32_t code);

constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayCallbackMessage = 11685;
constexpr UINT kTrayIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;  // 0x17
constexpr UINT kTrayDefaultTimeout = 10000;
constexpr int32_t kTrayEventTaskbarCreated = 1120;
constexpr int32_t kTrayEventOwnerDestroyed = 1130;

class TrayIcon {
 public:
  TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon();  // runs remove()

  // Adds the icon owned by `owner` with the tip (cut to 127 bytes); the
  // window's small icon, or the first image of `iconBytes` when `useBytes`.
  // The shell's result; 0 when `owner` is not a window.
  BOOL add(HWND owner, std::string_view iconBytes, bool useBytes, const std::string& tip);
  // Subclasses the owner window and, when `install`, stores `handler` for its events.
  // Does nothing before a successful add. Call it once between add and remove.
  void setEventHandler(TrayEventHandler handler, bool install);
  // The shell's result; an empty tip keeps the old one.
  BOOL setTip(const std::string& tip);
  // The shell's result; a time-out of 0 means 3000 ms; empty texts keep the old ones.
  BOOL showBalloon(const std::string& title, const std::string& text, int32_t iconKind,
                   int32_t timeoutMilliseconds);
  // The shell's result; 0 (old icon kept) when the bytes give no icon.
  BOOL setIcon(std::string_view iconBytes);
  // Restores the owner's window procedure and deletes the icon; the shell's result.
  BOOL remove();

  // An icon made from image `index` of an icon file, its directory entry's
  // width and height (0 meaning 256) in the out arguments; 0 when the bytes are
  // too short for the entry or for the image it points to, or do not decode.
  static HICON iconFromIcoBytes(std::string_view iconBytes, int index, int* width, int* height);

  // The notification area's toolbar of the taskbar; null when there is none.
  static HWND trayToolbar();
  // The toolbar of the overflow window; null when there is none.
  static HWND overflowToolbar();
  // Passes a pointer over every point of the toolbar so that the shell drops
  // the icons of processes that no longer exist.
  static void sweepDeadIcons(bool overflow);

  const NOTIFYICONDATAA& iconData() const { return iconData_; }
  UINT taskbarCreatedMessage() const { return taskbarCreatedMessage_; }
  HWND ownerWindow() const { return ownerWindow_; }

 private:
  static LRESULT CALLBACK trayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  UINT taskbarCreatedMessage_ = 0;
  NOTIFYICONDATAA iconData_{};
  LONG_PTR previousWndProc_ = 0;
  HWND ownerWindow_ = nullptr;
};

// Copies `text` into a fixed text field of `size` bytes, cut at size - 1 bytes
// and always NUL-terminated; an empty text leaves the field as it was.
void copyCutText(char* field, size_t size, std::string_view text);

}  // namespace qova
