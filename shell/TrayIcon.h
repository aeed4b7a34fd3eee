#pragma once
// The notification-area icon. TrayIcon adds, changes and deletes the icon
// through Shell_NotifyIconA and turns the shell's notifications, which arrive
// at the window that owns the icon, into plain event codes: that window's
// procedure hands them to deliver(). Destroying the object deletes the icon.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qova {

// Receives the icon's events: the mouse message the shell reports (514 left
// button up, 517 right button up, ...), kTrayEventTaskbarCreated or kTrayEventOwnerDestroyed.
using TrayEventHandler = std::function<void(int32_t code)>;

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
  // The taskbar was made again (the shell restarted): adds the icon once more
  // with its icon, tip and callback, without repeating an old balloon; a
  // shell that still shows it has it changed instead. The shell's result; 0
  // before a successful add.
  BOOL addAgain();
  // From now on deliver() turns the owner window's notifications into events,
  // for `handler` when `install`. Does nothing before a successful add.
  void setEventHandler(TrayEventHandler handler, bool install);
  // Called by the owner window's procedure with each message it receives:
  // the shell's callback message and "TaskbarCreated" go to the handler as
  // events (true: the message is handled); WM_DESTROY raises
  // kTrayEventOwnerDestroyed and, like every other message, gives false, so
  // that the window goes on with it. Without a handler everything gives false.
  bool deliver(UINT message, LPARAM lParam) const;
  // The shell's result; an empty tip keeps the old one.
  BOOL setTip(const std::string& tip);
  // The shell's result; a time-out of 0 means 3000 ms; empty texts keep the old ones.
  BOOL showBalloon(const std::string& title, const std::string& text, int32_t iconKind,
                   int32_t timeoutMilliseconds);
  // The shell's result; 0 (old icon kept) when the bytes give no icon.
  BOOL setIcon(std::string_view iconBytes);
  // Stops delivering events and deletes the icon; the shell's result.
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
  UINT taskbarCreatedMessage_ = 0;
  NOTIFYICONDATAA iconData_{};
  HWND ownerWindow_ = nullptr;
  TrayEventHandler handler_;  // empty until setEventHandler installs one, and after remove
};

// Copies `text` into a fixed text field of `size` bytes, cut at size - 1 bytes
// and always NUL-terminated; an empty text leaves the field as it was.
void copyCutText(char* field, size_t size, std::string_view text);

}  // namespace qova
