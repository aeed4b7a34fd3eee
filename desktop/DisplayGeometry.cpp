#include "desktop/DisplayGeometry.h"

#include <dwmapi.h>
#include <shellapi.h>

#include "runtime/OutsideFunction.h"
#include "runtime/WindowDpi.h"

namespace qova {
namespace {

// Bound by name at first use, like every outside function: a system without
// the Desktop Window Manager's library stops with the run-time error.
const OutsideFunction<decltype(&::DwmRegisterThumbnail)> registerThumbnail{
    "dwmapi.dll", "DwmRegisterThumbnail"};
using UpdateThumbnailProperties = HRESULT(WINAPI*)(HTHUMBNAIL, const DesktopPreviewProperties*);
const OutsideFunction<UpdateThumbnailProperties> updateThumbnailProperties{
    "dwmapi.dll", "DwmUpdateThumbnailProperties"};

constexpr RECT kPreviewBox{4, 4, 212, 124};

int32_t low16(DWORD value) { return static_cast<int32_t>(value & 0xFFFF); }

}  // namespace

DisplayMode queryDisplayMode() {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  ::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
  return {low16(mode.dmBitsPerPel), low16(mode.dmPelsWidth), low16(mode.dmPelsHeight),
          low16(mode.dmDisplayFrequency)};
}

int32_t taskbarHeight() {
  APPBARDATA taskbar{};
  taskbar.cbSize = sizeof taskbar;
  ::SHAppBarMessage(ABM_GETTASKBARPOS, &taskbar);
  return queryDisplayMode().height - taskbar.rc.top;
}

DesktopPreviewProperties desktopPreviewProperties(const RECT& destination) {
  DesktopPreviewProperties properties{};
  properties.dwFlags = DWM_TNP_RECTDESTINATION | DWM_TNP_OPACITY | DWM_TNP_VISIBLE;
  properties.rcDestination = destination;
  properties.opacity = 255;
  properties.fVisible = TRUE;
  properties.fSourceClientAreaOnly = FALSE;
  return properties;
}

HTHUMBNAIL startDesktopPreview(HWND mainWindow, HWND source) {
  HTHUMBNAIL thumbnail = nullptr;
  if (registerThumbnail(mainWindow, source, &thumbnail) != S_OK) return nullptr;
  fitDesktopPreview(mainWindow, thumbnail);
  return thumbnail;
}

void fitDesktopPreview(HWND mainWindow, HTHUMBNAIL thumbnail) {
  if (!thumbnail) return;
  // The box at 96 DPI, scaled to the DPI the panel is laid out at.
  const int dpi = windowDpi(mainWindow);
  const RECT destination{scaledForDpi(kPreviewBox.left, dpi), scaledForDpi(kPreviewBox.top, dpi),
                         scaledForDpi(kPreviewBox.right, dpi), scaledForDpi(kPreviewBox.bottom, dpi)};
  const DesktopPreviewProperties properties = desktopPreviewProperties(destination);
  updateThumbnailProperties(thumbnail, &properties);
}

}  // namespace qova
