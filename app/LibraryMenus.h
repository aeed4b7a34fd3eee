#pragma once
// The library window's skinned menus: the application menu ("打开设置",
// "添加视频", "添加文件夹", "删除失效的视频", "退出应用", "壁纸设置"), an item's
// menu ("删除该项", "在此显示器上播放") and the monitors' menu that
// "在此显示器上播放" opens, and which of their items the component library
// reports as chosen.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "outside/exui/ExuiContract.h"

namespace qova {

enum class MenuChoice {
  None, OpenSettings, AddVideo, ExitApplication, DeleteEntry, PlayOnMonitor, AddFolder, DeleteMissingVideos,
  SettingsPage
};

class LibraryMenus {
 public:
  // Makes both menus with their icons; `callback` receives their choices.
  void build(ExuiMenuCallback callback);

  // An item's right-click: the item menu at the cursor, for that 0-based item.
  void popUpItemMenu(HWND owner, int32_t item);
  // A right-click on the list: the application menu at the cursor, unless the
  // click ends an item's right-click, which showed the item menu already.
  void popUpLibraryMenu(HWND owner);
  // The application menu at `at` (screen coordinates), asked for from the keyboard.
  void popUpLibraryMenuAt(HWND owner, POINT at);

  // The monitors' menu at the cursor, for the item whose menu opened it: one
  // item per monitor beside the primary, captioned `monitors` (the first,
  // the primary's, is left out), then "跟随主显示器".
  void popUpMonitorMenu(HWND owner, const std::vector<std::string>& monitors);

  // What the menus' callback reported (code 650 is a chosen item; others choose nothing).
  MenuChoice choice(int32_t code, int32_t item, int32_t menuNumber) const;
  // The monitors' menu's choice: the monitor (1 and up) to play the item on,
  // 0 for "跟随主显示器"; nothing for any other menu.
  std::optional<int32_t> monitorChoice(int32_t code, int32_t itemData, int32_t menuNumber) const;
  // The 0-based item whose right-click opened the item menu.
  int32_t pendingDeleteIndex() const { return pendingDeleteIndex_; }

 private:
  struct ItemIds {
    int32_t openSettings = 0;
    int32_t addVideo = 0;
    int32_t exitApplication = 0;
    int32_t deleteEntry = 0;
    int32_t playOnMonitor = 0;
    int32_t addFolder = 0;
    int32_t deleteMissingVideos = 0;
    int32_t settingsPage = 0;
  };
  ExuiMenu libraryMenu_ = 0;
  ExuiMenu itemMenu_ = 0;
  // Made again only when the monitors' captions change: menus cannot lose items.
  ExuiMenu monitorMenu_ = 0;
  std::vector<std::string> monitorCaptions_;
  ExuiMenuCallback callback_ = nullptr;
  ItemIds ids_;
  bool itemMenuPending_ = false;
  int32_t pendingDeleteIndex_ = 0;
};

}  // namespace qova
