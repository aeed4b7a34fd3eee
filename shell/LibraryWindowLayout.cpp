// The library window's stored layout: the library list below a 30-pixel band, and
// the window's own skin (background and close button). The list's stored
// rectangle is larger than the window; the size-changed handler fits it.
#include "resources/LayoutImages.h"
#include "runtime/AnsiText.h"
#include "shell/LayoutBindings.h"
#include "shell/Layouts.h"

namespace qova {
namespace {

using exui::PropertyWriter;
using layout::run;
using layout::runWithFirst;

// The list's skin pictures in the library's order (kExuiListImage...).
std::vector<exui::Bytes> listSkinImages() {
  return layoutImages({"list_item.png", "list_item_hot.png", "list_thumb.png", "list_thumb_pressed.png",
                       "list_up_normal.png", "list_up_hover.png", "list_up_pressed.png", "list_down_normal.png",
                       "list_down_hover.png", "list_down_pressed.png", "list_mark.png"});
}

std::u16string wideText(const std::string& text) {
  const std::wstring wide = ansiToWide(text);
  return {wide.begin(), wide.end()};
}

// The page's two columns of groups, each as wide as fits the design width.
constexpr int kPageTop = 30;
constexpr int kGroupWidth = 440;
constexpr int kGroupHeight = 56;
constexpr int kGroupStep = 64;
constexpr int kGroupsPerColumn = 5;
constexpr int kChoiceWidth = 110;

void addSettingsPage(std::vector<ComponentLayout>& components, const std::vector<SettingGroupLayout>& settings,
                     const Action& back) {
  components.push_back({ComponentClass::WindowEx, kSettingsPageName, "", 0, kPageTop, 928, 520,
                        PropertyWriter().text(kExuiPropSkinName, u"默认窗口皮肤").data(), {}});
  for (size_t i = 0; i < settings.size(); ++i) {
    const SettingGroupLayout& setting = settings[i];
    const int column = static_cast<int>(i) / kGroupsPerColumn;
    const int row = static_cast<int>(i) % kGroupsPerColumn;
    const std::string group = settingGroupName(i);
    components.push_back({ComponentClass::MinutesboxEx, group, kSettingsPageName, 16 + column * (kGroupWidth + 16),
                          12 + row * kGroupStep, kGroupWidth, kGroupHeight,
                          PropertyWriter()
                              .text(kExuiPropSkinName, u"EX_UI默认皮肤_分组框")
                              .text(kExuiPropCaption, wideText(setting.caption))
                              .data(),
                          {}});
    if (setting.choices.empty()) {
      components.push_back({ComponentClass::SliderbarEx, settingSliderName(i), group, 12, 26, kGroupWidth - 24, 24,
                            PropertyWriter()
                                .text(kExuiPropSkinName, u"EX_UI默认皮肤_滑块条")
                                .integer(kExuiPropMaximum, setting.maximum)
                                .data(),
                            {{0, runWithFirst(setting.chosen)}}});
      continue;
    }
    for (size_t j = 0; j < setting.choices.size(); ++j) {
      const ActionWithValue chosen = setting.chosen;
      const auto choice = static_cast<int32_t>(j);
      components.push_back({ComponentClass::RadiobuttonEx, settingChoiceName(i, j), group,
                            12 + static_cast<int>(j) * kChoiceWidth, 26, kChoiceWidth - 8, 22,
                            PropertyWriter().text(kExuiPropCaption, wideText(setting.choices[j])).data(),
                            {{0, run([chosen, choice] {
                                if (chosen) chosen(choice);
                              })}}});
    }
  }
  components.push_back({ComponentClass::ButtonEx, kSettingsBackButtonName, kSettingsPageName, 16,
                        12 + kGroupsPerColumn * kGroupStep, 120, 30,
                        PropertyWriter().text(kExuiPropCaption, u"返回视频库").data(), {{0, run(back)}}});
}

}  // namespace

std::string settingGroupName(size_t setting) { return "设置" + std::to_string(setting + 1); }
std::string settingChoiceName(size_t setting, size_t choice) {
  return settingGroupName(setting) + "选项" + std::to_string(choice + 1);
}
std::string settingSliderName(size_t setting) { return settingGroupName(setting) + "滑块"; }

WindowLayout libraryWindowLayout(const LibraryWindowHandlers& handlers) {
  WindowLayout window;
  window.name = "LibraryWindow";
  // The class name by which installers and scripts find the running program's windows.
  window.className = kLibraryWindowClassName;
  window.title = layout::kWindowTitle;
  window.left = 50;
  window.top = 50;
  window.width = 928;
  window.height = 550;
  window.style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
  window.events = {{kWindowEventCreated, run(handlers.created)},
                   {kWindowEventSizeChanged, run(handlers.sizeChanged)}};
  window.menuCaption = layout::kStandardMenuCaption;
  window.menu = layout::standardMenu(handlers.menu);
  window.components = {
      {ComponentClass::IcoListboxEx, kLibraryListName, "", 0, 30, 948, 588,
       PropertyWriter()
           .text(kExuiPropSkinName, u"EX_UI默认皮肤_普通列表框")
           .imageSet(kExuiPropListImages, listSkinImages())
           .data(),
       {{3, runWithFirst(handlers.itemRightClick)},
        {15, run(handlers.listRightClick)},
        {6, runWithFirst(handlers.itemClicked)}}},
      {ComponentClass::WindowEx, "窗口EX", "", 4, 4, 52, 24,
       PropertyWriter()
           .integer(kExuiPropWindowRole, kExuiWindowRoleFrame)
           .picture(kExuiPropBackground, layoutImage("popup_background.png"))
           .imageSet(kExuiPropCloseImages,
                     layoutImages({"close_normal.png", "close_hover.png", "close_pressed.png"}))
           .imageSet(kExuiPropCloseImages2x,
                     layoutImages({"close_normal_2x.png", "close_hover_2x.png", "close_pressed_2x.png"}))
           .data(),
       {{1, runWithFirst(handlers.skinClosed)}}},
  };
  if (!handlers.settings.empty()) addSettingsPage(window.components, handlers.settings, handlers.settingsBack);
  return window;
}

}  // namespace qova
