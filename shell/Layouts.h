#pragma once
// The stored layouts of the program's two windows, the names by which the
// program finds their components, and the handlers it gives each layout:
// the layouts know nothing of what their events do.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/WindowBuilder.h"

namespace qova {

// MainWindow's sizes: 164 high collapsed (the preview and the playback
// buttons), 387 expanded into its settings view.
constexpr int kMainWindowWidth = 216;
constexpr int kMainWindowCollapsedHeight = 164;
constexpr int kMainWindowExpandedHeight = 387;

constexpr const char* kPreviewBoxName = "显示框EX";
constexpr const char* kPlayButtonName = "播放按钮";
constexpr const char* kVolumeSliderName = "音量进度";
constexpr const char* kLibraryListName = "图标列表框EX";
// The settings view's two "设置开机启动" buttons: the left one turns starting
// with Windows on, the right one off.
constexpr const char* kStartWithWindowsOnButtonName = "按钮EX1";
constexpr const char* kStartWithWindowsOffButtonName = "按钮EX2";

// The library window's class, by which a second start finds the running program.
constexpr const char* kLibraryWindowClassName = "QovaPopupWindow";
// The panel's class; it is gone once the program has begun to exit.
constexpr const char* kMainWindowClassName = "QovaMainWindow";

using Action = std::function<void()>;
using ActionWithValue = std::function<void(int32_t value)>;

// The standard menu both windows carry: "打开设置", "添加视频", "添加文件夹",
// "打开日志文件夹", "退出应用".
struct StandardMenuHandlers {
  Action openSettings;
  Action addVideo;
  Action exitApplication;
  Action openLogFolder;
  Action addFolder;
};

struct MainWindowHandlers {
  Action created;             // the start-up sequence
  Action sizeChanged;         // keeps the panel at least its collapsed height
  Action previewMenu;         // the preview box's event 5: the standard menu at the cursor
  Action showLibraryWindow;   // the preview box's event 6
  Action previewThirdAction;  // the preview box's event 8, bound on purpose to nothing
  Action previous;
  Action playPause;
  Action next;
  ActionWithValue volumeChanged;  // the slider's new position
  Action showWindowChosen;        // "显示该窗口"
  Action hideWindowChosen;        // "隐藏该窗口"
  Action startWithWindowsOn;      // the left "设置开机启动" button
  Action startWithWindowsOff;     // the right one
  StandardMenuHandlers menu;
};

// One setting on the library window's settings page: a group titled
// `caption` of radio buttons, one per choice, or a slider from 0 to `maximum`
// when there are no choices.
struct SettingGroupLayout {
  std::string caption;
  std::vector<std::string> choices;
  int32_t maximum = 0;
  ActionWithValue chosen;  // the 0-based choice, or the slider's new value
};

// The settings page covers the library list when shown; built hidden.
constexpr const char* kSettingsPageName = "设置页";
constexpr const char* kSettingsBackButtonName = "返回视频库";
// The names of a setting's group, of its radio button `choice` (0-based) and of its slider.
std::string settingGroupName(size_t setting);
std::string settingChoiceName(size_t setting, size_t choice);
std::string settingSliderName(size_t setting);

struct LibraryWindowHandlers {
  Action created;                // the notification-area icon and the skinned menus
  Action sizeChanged;            // the list fills the window below its 30-pixel band
  ActionWithValue skinClosed;    // the skin's close button, with its flag: 0 hides the window
  ActionWithValue itemRightClick;  // with the 0-based item
  Action listRightClick;
  ActionWithValue itemClicked;   // with the 0-based item
  StandardMenuHandlers menu;
  std::vector<SettingGroupLayout> settings;  // the settings page, in its order
  Action settingsBack;                       // the page's "返回视频库"
};

// MainWindow: the docked panel with the preview, the playback buttons and, below row 164, the settings.
WindowLayout mainWindowLayout(const MainWindowHandlers& handlers);
// The library window with its icon list.
WindowLayout libraryWindowLayout(const LibraryWindowHandlers& handlers);

}  // namespace qova
