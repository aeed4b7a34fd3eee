#pragma once
// What the two layouts share: adapters from a layout event to the
// application's handlers, and the standard menu both windows carry.
#include <cstdint>
#include <vector>

#include "app/Wallpaper.h"
#include "app/AddVideo.h"
#include "shell/UiHandlers.h"
#include "shell/WindowBuilder.h"

namespace qova::layout {

// A handler that takes nothing from the event.
template <void (*Handler)()>
void run(const LayoutEvent&) {
  Handler();
}

// A handler that takes the event's first integer (an item index, a new value, a flag).
template <void (*Handler)(int32_t)>
void runWithFirst(const LayoutEvent& event) {
  Handler(event.a);
}

constexpr const char* kStandardMenuCaption = "菜单";

// "打开设置", "添加视频", "退出应用".
inline std::vector<MenuItemLayout> standardMenu() {
  return {{"打开设置", &openSettingsView}, {"添加视频", &addVideo}, {"退出应用", &exitApplication}};
}

// The window's own title, shown by the library window's skin in its band.
constexpr const char* kWindowTitle = "QOVA_壁纸";

}  // namespace qova::layout
