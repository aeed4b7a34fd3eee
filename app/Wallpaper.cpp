#include "app/Wallpaper.h"

#include "desktop/DesktopLayer.h"

namespace qova {

void createPlayerInDesktopLayer(Player& player, APlayerHandler onEvent) {
  const DesktopHost host = findDesktopHost();
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  // The player window is born inside the desktop layer and never moved there later.
  player.create(host.parent, 0, 0, screenWidth, screenHeight, nullptr, onEvent);
  if (host.insertAfter) placeInDesktopHost(player.getWindow(), host);
  keepTopLevelPlayerAtBottom(player);
  refreshDesktopLayer();
}

void keepTopLevelPlayerAtBottom(const Player& player) {
  HWND window = player.getWindow();
  if (!window || ::GetParent(window)) return;
  ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void stopWallpaper(Player& player) {
  player.destroy();
  refreshDesktopLayer();
}

}  // namespace qova
