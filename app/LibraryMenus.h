#pragma once
// The library window's two skinned menus: the application menu ("打开设置",
// "添加视频", "添加文件夹", "删除失效的视频", "退出应用") and an item's menu ("删除该项"), and which of their
// items the component library reports as chosen.
#include <windows.h>

#include <cstdint>

#include "outside/exui/ExuiContract.h"

namespace qova {

enum class MenuChoice { None, OpenSettings, AddVideo, ExitApplication, DeleteEntry, AddFolder, DeleteMissingVideos };

class LibraryMenus {
 public:
  // Makes both menus with their icons; `callback` receives their choices.
  void build(ExuiMenuCallback callback);

  // An item's right-click: the item menu at the cursor, for that 0-based item.
  void popUpItemMenu(HWND owner, int32_t item);
  // A right-click on the list: the application menu at the cursor, unless the
  // click ends an item's right-click, which showed the item menu already.
  void popUpLibraryMenu(HWND owner);

  // What the menus' callback reported (code 650 is a chosen item; others choose nothing).
  MenuChoice choice(int32_t code, int32_t item, int32_t menuNumber) const;
  // The 0-based item whose right-click opened the item menu.
  int32_t pendingDeleteIndex() const { return pendingDeleteIndex_; }

 private:
  struct ItemIds {
    int32_t openSettings = 0;
    int32_t addVideo = 0;
    int32_t exitApplication = 0;
    int32_t deleteEntry = 0;
    int32_t addFolder = 0;
    int32_t deleteMissingVideos = 0;
  };
  ExuiMenu libraryMenu_ = 0;
  ExuiMenu itemMenu_ = 0;
  ItemIds ids_;
  bool itemMenuPending_ = false;
  int32_t pendingDeleteIndex_ = 0;
};

}  // namespace qova
