#include "app/SystemNotices.h"

#include <wtsapi32.h>

#include <cstring>

namespace qova {
namespace {

// GUID_CONSOLE_DISPLAY_STATE and GUID_POWER_SAVING_STATUS, spelled out: not every SDK declares them.
constexpr GUID kDisplayState{0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kPowerSavingStatus{0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};

std::optional<PauseNotice> sessionNotice(WPARAM change) {
  switch (change) {
    case WTS_SESSION_LOCK:
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
      return PauseNotice{PauseCause::SessionLocked, true};
    case WTS_SESSION_UNLOCK:
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
      return PauseNotice{PauseCause::SessionLocked, false};
    default:
      return std::nullopt;
  }
}

std::optional<PauseNotice> powerNotice(const POWERBROADCAST_SETTING* setting) {
  if (!setting || setting->DataLength < sizeof(DWORD)) return std::nullopt;
  DWORD value = 0;
  std::memcpy(&value, setting->Data, sizeof value);
  // Display state: 0 off, 1 on, 2 dimmed (still seen).
  if (setting->PowerSetting == kDisplayState) return PauseNotice{PauseCause::DisplayOff, value == 0};
  if (setting->PowerSetting == kPowerSavingStatus) return PauseNotice{PauseCause::BatterySaver, value != 0};
  return std::nullopt;
}

}  // namespace

SystemNotices::SystemNotices(HWND window) : window_(window) {
  session_ = ::WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
  display_ = ::RegisterPowerSettingNotification(window, &kDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
  batterySaver_ = ::RegisterPowerSettingNotification(window, &kPowerSavingStatus, DEVICE_NOTIFY_WINDOW_HANDLE);
}

SystemNotices::~SystemNotices() {
  if (session_) ::WTSUnRegisterSessionNotification(window_);
  if (display_) ::UnregisterPowerSettingNotification(display_);
  if (batterySaver_) ::UnregisterPowerSettingNotification(batterySaver_);
}

std::optional<PauseNotice> pauseNoticeOf(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WTSSESSION_CHANGE) return sessionNotice(wParam);
  if (message == WM_POWERBROADCAST && wParam == PBT_POWERSETTINGCHANGE)
    return powerNotice(reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
  return std::nullopt;
}

}  // namespace qova
