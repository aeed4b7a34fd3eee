#include "app/WindowHandlers.h"

#include "app/AddVideo.h"
#include "app/Hotkeys.h"
#include "app/LibraryWindow.h"
#include "app/MainWindow.h"
#include "app/MainWindowPlacement.h"
#include "app/Playback.h"
#include "app/PopupWindow.h"
#include "app/Wallpaper.h"

namespace qova {
namespace {

StandardMenuHandlers standardMenuHandlers() { return {openSettingsView, addVideo, exitApplication}; }

}  // namespace

MainWindowHandlers mainWindowHandlers() {
  MainWindowHandlers handlers;
  handlers.created = onMainWindowCreated;
  handlers.sizeChanged = onMainWindowSizeChanged;
  handlers.previewMenu = onPreviewRightClick;
  handlers.showLibraryWindow = showPopupWindow;
  handlers.previewThirdAction = [] {};
  handlers.previous = onPreviousClicked;
  handlers.playPause = togglePlayPause;
  handlers.next = onNextClicked;
  handlers.volumeChanged = onVolumeChanged;
  handlers.hideWindowChosen = onHideWindowOptionChosen;
  handlers.menu = standardMenuHandlers();
  return handlers;
}

LibraryWindowHandlers libraryWindowHandlers() {
  LibraryWindowHandlers handlers;
  handlers.created = onPopupWindowCreated;
  handlers.sizeChanged = onPopupWindowSizeChanged;
  handlers.skinClosed = onPopupSkinClosed;
  handlers.itemRightClick = onLibraryItemRightClick;
  handlers.listRightClick = onLibraryListRightClick;
  handlers.itemClicked = onLibraryItemClicked;
  handlers.menu = standardMenuHandlers();
  return handlers;
}

}  // namespace qova
