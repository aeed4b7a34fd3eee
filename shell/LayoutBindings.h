#pragma once
// What the two layouts share: adapters from a layout event to the handlers
// the program gives, and the standard menu both windows carry.
#include <vector>

#include "shell/Layouts.h"
#include "shell/WindowBuilder.h"

namespace qova::layout {

// A binding whose handler takes nothing from the event.
inline LayoutEventHandler run(const Action& action) {
  return [action](const LayoutEvent&) {
    if (action) action();
  };
}

// A binding whose handler takes the event's first integer (an item index, a new value, a flag).
inline LayoutEventHandler runWithFirst(const ActionWithValue& action) {
  return [action](const LayoutEvent& event) {
    if (action) action(event.a);
  };
}

constexpr const char* kStandardMenuCaption = "菜单";

// "打开设置", "添加视频", "添加文件夹", "打开日志文件夹", "退出应用".
inline std::vector<MenuItemLayout> standardMenu(const StandardMenuHandlers& handlers) {
  return {{"打开设置", handlers.openSettings},
          {"添加视频", handlers.addVideo},
          {"添加文件夹", handlers.addFolder},
          {"打开日志文件夹", handlers.openLogFolder},
          {"退出应用", handlers.exitApplication}};
}

// The window's own title, shown by the library window's skin in its band.
constexpr const char* kWindowTitle = "QOVA_壁纸";

}  // namespace qova::layout
