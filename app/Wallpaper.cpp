#include "app/Wallpaper.h"

#include "desktop/DesktopLayer.h"

namespace qova {

void createPlayerInDesktopLayer(WallpaperScreens& screens, APlayerHandler onEvent) {
  screens.create(onEvent);
  refreshDesktopLayer();
}

void keepTopLevelPlayerAtBottom(const WallpaperScreens& screens) { screens.keepTopLevelPlayersAtBottom(); }

void stopWallpaper(WallpaperScreens& screens) {
  screens.destroy();
  refreshDesktopLayer();
}

}  // namespace qova
