#pragma once
// The stored layouts of the program's two windows, and the names by which
// the application finds their components.
#include "shell/WindowBuilder.h"

namespace qova {

// MainWindow: the docked panel with the preview, the playback buttons and, below row 164, the settings.
const WindowLayout& mainWindowLayout();
// PopupWindow: the library window with its icon list.
const WindowLayout& popupWindowLayout();

constexpr const char* kPreviewBoxName = "显示框EX";
constexpr const char* kPlayButtonName = "播放按钮";
constexpr const char* kVolumeSliderName = "音量进度";
constexpr const char* kLibraryListName = "图标列表框EX";

}  // namespace qova
