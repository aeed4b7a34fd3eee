#pragma once
// The primary display's mode and the taskbar's place, and the live preview
// of the desktop. (MainWindow docks to the work area, app/MainWindowPlacement.)
#include <windows.h>
#include <dwmapi.h>

#include <cstdint>

namespace qova {

struct DisplayMode {
  int32_t bitsPerPixel = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t refreshRate = 0;
};

// The current mode of the primary display, each value its low 16 bits; all 0
// when the mode cannot be read.
DisplayMode queryDisplayMode();

// The display mode's height minus the top of the taskbar's rectangle: the
// taskbar's height when it sits at the bottom edge. Not reconciled with
// SM_CYSCREEN: with the taskbar elsewhere it is the whole display height.
int32_t taskbarHeight();

// Shows a live thumbnail of `source` in the preview box of `mainWindow`
// (client rectangle 4, 4 to 212, 124 at 96 DPI, scaled to the panel's DPI),
// and returns it. Without desktop composition nothing shows, nothing is
// reported and the answer is null. The thumbnail lives as long as the two
// windows.
HTHUMBNAIL startDesktopPreview(HWND mainWindow, HWND source);

// Fits the thumbnail to the preview box again, at the DPI the panel is laid
// out at now (after it moved to a monitor of another scale). Nothing for null.
void fitDesktopPreview(HWND mainWindow, HTHUMBNAIL thumbnail);

// DWM_THUMBNAIL_PROPERTIES as the system reads it: naturally aligned, 48
// bytes, three bytes of padding after `opacity`. (MinGW's dwmapi.h declares it
// packed to 45 bytes, which the system does not expect.)
struct DesktopPreviewProperties {
  DWORD dwFlags;
  RECT rcDestination;
  RECT rcSource;
  BYTE opacity;
  BOOL fVisible;
  BOOL fSourceClientAreaOnly;
};
static_assert(sizeof(DesktopPreviewProperties) == 48);

// The preview's properties, as DwmUpdateThumbnailProperties receives them.
DesktopPreviewProperties desktopPreviewProperties(const RECT& destination);

}  // namespace qova
