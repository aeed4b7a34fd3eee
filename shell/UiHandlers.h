#pragma once
// Handlers the two windows' layouts bind that are not declared elsewhere;
// the application defines them (app/). The layouts also bind
// onMainWindowCreated (app/MainWindow.h), exitApplication (app/Wallpaper.h),
// addVideo (library/AddVideo.h) and the playback handlers (library/Playback.h).
#include <cstdint>

namespace qova {

// MainWindow
void onMainWindowSizeChanged();     // keeps the panel at least its collapsed height
void onPreviewRightClick();         // MainWindow's menu at the cursor
void showPopupWindow();             // creates PopupWindow if needed, shows it, gives it the focus
void onPreviewThirdAction();        // bound on purpose to nothing
void togglePlayPause();             // the play button and Ctrl+Alt+F10
void onHideWindowOptionChosen();    // "隐藏该窗口": MainWindow stays hidden from the next start on
void openSettingsView();            // MainWindow expanded to its settings view

// PopupWindow
void onPopupWindowCreated();              // the notification-area icon and the skinned menus
void onPopupWindowSizeChanged();          // the list fills the window below its 30-pixel band
void onPopupSkinClosed(int32_t flag);     // the skin's close button: 0 hides the window
void onLibraryItemRightClick(int32_t index);
void onLibraryListRightClick();

}  // namespace qova
