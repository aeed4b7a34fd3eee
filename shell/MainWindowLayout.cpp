// MainWindow's stored layout. Rows 0 to 163 hold the collapsed panel (the
// desktop preview and the three playback buttons); the settings panel `底线`
// starts at row 164, so it shows only once the window is 387 high.
#include "resources/LayoutImages.h"
#include "shell/LayoutBindings.h"
#include "shell/Layouts.h"

namespace qova {
namespace {

using exui::PropertyWriter;
using layout::run;
using layout::runWithFirst;

const std::vector<std::string> kThreeStates = {"normal", "hover", "pressed"};
const std::vector<std::string> kTwoStates = {"normal", "pressed"};

// A picture button's states, e.g. "previous" → previous_normal.png, previous_hover.png, ...,
// and the same drawn for 192 DPI (previous_normal_2x.png, ...).
exui::Bytes pictureButton(const std::string& symbol, const std::vector<std::string>& states) {
  std::vector<std::string> names, doubleSize;
  for (const std::string& state : states) {
    names.push_back(symbol + "_" + state + ".png");
    doubleSize.push_back(symbol + "_" + state + "_2x.png");
  }
  return PropertyWriter()
      .imageSet(kExuiPropStateImages, layoutImages(names))
      .imageSet(kExuiPropStateImages2x, layoutImages(doubleSize))
      .data();
}

exui::Bytes skinNamed(std::u16string_view skin) { return PropertyWriter().text(kExuiPropSkinName, skin).data(); }

exui::Bytes captionButton(std::u16string_view caption) {
  return PropertyWriter().text(kExuiPropCaption, caption).data();
}

exui::Bytes radioButton(std::u16string_view caption, bool checked) {
  return PropertyWriter().text(kExuiPropCaption, caption).boolean(kExuiPropChecked, checked).data();
}

}  // namespace

WindowLayout mainWindowLayout(const MainWindowHandlers& handlers) {
  WindowLayout window;
  window.name = "MainWindow";
  window.className = kMainWindowClassName;
  window.title = layout::kWindowTitle;
  window.left = 50;
  window.top = 50;
  window.width = kMainWindowWidth;
  window.height = kMainWindowExpandedHeight;
  window.style = WS_POPUP | WS_CLIPCHILDREN;
  window.exStyle = WS_EX_TOOLWINDOW;
  window.events = {{kWindowEventCreated, run(handlers.created)},
                   {kWindowEventSizeChanged, run(handlers.sizeChanged)}};
  window.menuCaption = layout::kStandardMenuCaption;
  window.menu = layout::standardMenu(handlers.menu);

  const std::u16string_view groupSkin = u"EX_UI默认皮肤_分组框";
  window.components = {
      {ComponentClass::MinutesboxEx, kPreviewBoxName, "", 4, 4, 208, 120, PropertyWriter().data(),
       {{5, run(handlers.previewMenu)},
        {6, run(handlers.showLibraryWindow)},
        {8, run(handlers.previewThirdAction)}}},
      {ComponentClass::ButtonEx, "上一首", "", 4, 128, 32, 32, pictureButton("previous", kThreeStates),
       {{0, run(handlers.previous)}}},
      {ComponentClass::ButtonEx, kPlayButtonName, "", 92, 128, 32, 32, pictureButton("pause", kTwoStates),
       {{0, run(handlers.playPause)}}},
      {ComponentClass::ButtonEx, "下一首", "", 180, 128, 32, 32, pictureButton("next", kThreeStates),
       {{0, run(handlers.next)}}},
      {ComponentClass::WindowEx, "底线", "", 1, 164, 214, 219, skinNamed(u"默认窗口皮肤"), {}},
      {ComponentClass::MinutesboxEx, "分组框EX2", "底线", 4, 4, 207, 32, skinNamed(groupSkin), {}},
      {ComponentClass::ButtonEx, "上一首1", "分组框EX2", 4, 4, 24, 24, pictureButton("speaker", kTwoStates), {}},
      {ComponentClass::SliderbarEx, kVolumeSliderName, "分组框EX2", 28, 4, 175, 24,
       skinNamed(u"EX_UI默认皮肤_滑块条"), {{0, runWithFirst(handlers.volumeChanged)}}},
      {ComponentClass::MinutesboxEx, "分组框EX1", "底线", 4, 35, 207, 28, skinNamed(groupSkin), {}},
      {ComponentClass::RadiobuttonEx, "单选框EX1", "分组框EX1", 4, 4, 100, 20, radioButton(u"显示该窗口", true),
       {{0, run(handlers.showWindowChosen)}}},
      {ComponentClass::RadiobuttonEx, "单选框EX2", "分组框EX1", 104, 4, 95, 20, radioButton(u"隐藏该窗口", false),
       {{0, run(handlers.hideWindowChosen)}}},
      {ComponentClass::EditboxEx, "编辑框EX1", "底线", 4, 62, 207, 116,
       PropertyWriter()
           .text(kExuiPropText, u"CTRL+ALT+F10 = 播放/暂停\r\nCTRL+ALT+End = 退出\r\n")
           .boolean(kExuiPropReadOnly, true)
           .data(),
       {}},
      {ComponentClass::ButtonEx, kStartWithWindowsOnButtonName, "底线", 4, 184, 100, 28,
       captionButton(u"设置开机启动"), {{0, run(handlers.startWithWindowsOn)}}},
      {ComponentClass::ButtonEx, kStartWithWindowsOffButtonName, "底线", 111, 184, 100, 28,
       captionButton(u"设置开机启动"), {{0, run(handlers.startWithWindowsOff)}}},
      {ComponentClass::WindowEx, "窗口EX", "", 4, 4, 24, 24,
       PropertyWriter()
           .integer(kExuiPropWindowRole, kExuiWindowRoleFrame)
           .text(kExuiPropSkinName, u"默认窗口皮肤")
           .data(),
       {}},
  };
  return window;
}

}  // namespace qova
