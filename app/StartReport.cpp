#include "app/StartReport.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/Settings.h"
#include "desktop/Monitors.h"
#include "runtime/DiagnosticLog.h"
#include "runtime/WindowDpi.h"

namespace qova {
namespace {

// GetVersionEx lies to programs without the right manifest entry; ntdll does not.
std::string windowsVersion() {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!rtlGetVersion || rtlGetVersion(&info) != 0) return "unknown";
  return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
         std::to_string(info.dwBuildNumber);
}

// The monitor's own DPI (Windows 8.1 and later), else the system's.
int monitorDpi(const ScreenRect& rect) {
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static HMODULE shcore = ::LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  static const auto getDpiForMonitor = reinterpret_cast<GetDpiForMonitorFunction>(
      reinterpret_cast<void*>(shcore ? ::GetProcAddress(shcore, "GetDpiForMonitor") : nullptr));
  const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  UINT x = 0, y = 0;
  if (getDpiForMonitor && getDpiForMonitor(::MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST), 0, &x, &y) == S_OK)
    return static_cast<int>(x);
  return windowDpi(nullptr);
}

std::string rectText(const ScreenRect& rect) {
  char text[64];
  std::snprintf(text, sizeof text, "(%d,%d)-(%d,%d)", rect.left, rect.top, rect.right, rect.bottom);
  return text;
}

std::string windowText(HWND window) {
  char className[64] = {};
  ::GetClassNameA(window, className, sizeof className);
  char handle[32];
  std::snprintf(handle, sizeof handle, " %p", static_cast<void*>(window));
  return className + std::string(handle);
}

// A setting as read, with what the program makes of it.
void logSetting(const char* key, const std::string& meaning) {
  const std::string value = readSetting(key, "\x01");
  logLine(std::string("setting ") + key + " = " + (value == "\x01" ? std::string("(absent)") : "\"" + value + "\"") +
          ": " + meaning);
}

std::string pauseMeaning(const char* key) {
  return readSetting(key, "1") == "0" ? "plays on" : "pauses";
}

void logSettings() {
  logLine("settings file " + settingsFilePath());
  logSetting(kSettingWindowDisplay, mainWindowShownAtStartup() ? "the panel shows" : "the panel is hidden");
  const std::string volume = readSetting(kSettingVolume, "100");
  const int level = settingToInteger(volume);
  const bool refused = volume.empty() || volume.find_first_not_of("0123456789") != std::string::npos || level > 100;
  logSetting(kSettingVolume, refused ? "refused, the player is given " + std::to_string(level == 0 ? 80 : level)
                                     : "volume " + std::to_string(level == 0 ? 80 : level));
  logSetting(kSettingPauseWhenHidden, pauseMeaning(kSettingPauseWhenHidden));
  logSetting(kSettingPauseWhenLocked, pauseMeaning(kSettingPauseWhenLocked));
  logSetting(kSettingPauseWhenDisplayOff, pauseMeaning(kSettingPauseWhenDisplayOff));
  logSetting(kSettingPauseOnBatterySaver, pauseMeaning(kSettingPauseOnBatterySaver));
  logSetting(kSettingEveryMonitor,
             readSetting(kSettingEveryMonitor, "1") == "0" ? "the primary monitor only" : "every monitor");
  const std::string scaling = readSetting(kSettingPictureScaling, "");
  const bool known = scaling.empty() || scaling == "填充" || scaling == "适应" || scaling == "拉伸";
  logSetting(kSettingPictureScaling, std::string(known ? "" : "refused, ") + "scaling " + pictureScalingSetting());
}

}  // namespace

std::string describeDesktopLayer(const WallpaperScreens& screens) {
  HWND layer = screens.layer();
  if (!layer) return "no desktop layer: the players are top-level windows at the bottom";
  char className[64] = {};
  ::GetClassNameA(layer, className, sizeof className);
  const std::string layout = std::string(className) == "Progman"
                                 ? "inside \"Progman\", below its icon view (Windows 11 24H2 and later)"
                                 : "a top-level worker behind the icon view (Windows 10 to 11 23H2)";
  return windowText(layer) + ", " + layout;
}

void logStart(const WallpaperScreens& screens) {
  logLine("start: QOVA Wallpaper " QOVA_VERSION ", Windows " + windowsVersion() + ", code page " +
          std::to_string(::GetACP()));
  int number = 0;
  for (const MonitorArea& monitor : listMonitors())
    logLine("monitor " + std::to_string(++number) + ": " + rectText(monitor.rect) + ", " +
            std::to_string(monitorDpi(monitor.rect)) + " DPI" + (monitor.primary ? ", primary" : ""));
  logLine("desktop layer: " + describeDesktopLayer(screens) + "; " + std::to_string(screens.count()) + " player(s)");
  logSettings();
}

}  // namespace qova
