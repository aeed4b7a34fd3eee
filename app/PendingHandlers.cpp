// Handlers the window layouts already bind whose behaviour arrives with later
// changes (the panel's placement and settings view, the play/pause toggle,
// the library window's icon, menus and item menu); until then they do nothing.
#include "shell/UiHandlers.h"

namespace qova {

void onMainWindowSizeChanged() {}
void onPreviewRightClick() {}
void openSettingsView() {}
void togglePlayPause() {}
void onPopupWindowCreated() {}
void onLibraryItemRightClick(int32_t) {}
void onLibraryListRightClick() {}

}  // namespace qova
