#include "desktop/Monitors.h"

#include <windows.h>

namespace qova {
namespace {

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoA(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
        {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

std::vector<MonitorArea> listMonitors() {
  std::vector<MonitorArea> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, &addMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty())
    monitors.push_back({{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, true});
  return monitors;
}

std::string monitorIdentity(const ScreenRect& rect) {
  const RECT wanted{rect.left, rect.top, rect.right, rect.bottom};
  HMONITOR monitor = ::MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL);
  MONITORINFOEXA info{};
  info.cbSize = sizeof info;
  if (!monitor || !::GetMonitorInfoA(monitor, reinterpret_cast<MONITORINFO*>(&info)) ||
      !::EqualRect(&info.rcMonitor, &wanted))
    return {};
  DISPLAY_DEVICEA display{};
  display.cb = sizeof display;
  if (::EnumDisplayDevicesA(info.szDevice, 0, &display, EDD_GET_DEVICE_INTERFACE_NAME) && display.DeviceID[0] != '\0')
    return display.DeviceID;
  return info.szDevice;
}

}  // namespace qova
