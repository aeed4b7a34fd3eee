// The two windows of the program built the way their layouts describe, with
// every control, photographed from the screen into exui_screens\ beside the
// test program so that their look can be checked by eye.
#include <chrono>
#include <string>

#include "tests/outside/exui/ComponentHost.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/Input.h"
#include "tests/outside/exui/SampleSkins.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowPhotograph.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;
using exui::Box;
using exui::PropertyWriter;

Pixels photograph(HWND window, const std::string& name) { return photographWindow(window, screenshotPath(name)); }

HWND windowOf(ExuiControl control) { return ComponentHost::windowOf(control); }

class ScreenshotTest : public ExuiTest {};

TEST_F(ScreenshotTest, MainWindowWithItsSettingsView) {
  ComponentHost host(216, 387, 60, 60);
  ExuiControl preview = host.create(Component::MinutesboxEx, PropertyWriter().data(), Box::sized(4, 4, 208, 120));
  host.create(Component::ButtonEx, PropertyWriter().imageSet(kExuiPropStateImages, buttonStates(ButtonSymbol::Previous, 32, 3)).data(),
              Box::sized(4, 128, 32, 32));
  host.create(Component::ButtonEx, PropertyWriter().imageSet(kExuiPropStateImages, buttonStates(ButtonSymbol::Pause, 32, 2)).data(),
              Box::sized(92, 128, 32, 32));
  ExuiControl next = host.create(Component::ButtonEx,
                                 PropertyWriter().imageSet(kExuiPropStateImages, buttonStates(ButtonSymbol::Next, 32, 3)).data(),
                                 Box::sized(180, 128, 32, 32));
  ExuiControl panel = host.create(Component::WindowEx, PropertyWriter().text(kExuiPropSkinName, u"默认窗口皮肤").data(),
                                  Box::sized(1, 164, 214, 219));
  const PropertyWriter groupSkin = PropertyWriter().text(kExuiPropSkinName, u"EX_UI默认皮肤_分组框");
  ExuiControl volumeGroup = host.create(Component::MinutesboxEx, groupSkin.data(), Box::sized(4, 4, 207, 32), windowOf(panel));
  host.create(Component::ButtonEx, PropertyWriter().imageSet(kExuiPropStateImages, buttonStates(ButtonSymbol::Speaker, 24, 2)).data(),
              Box::sized(4, 4, 24, 24), windowOf(volumeGroup));
  ExuiControl slider = host.create(Component::SliderbarEx,
                                   PropertyWriter().text(kExuiPropSkinName, u"EX_UI默认皮肤_滑块条").integer(kExuiPropValue, 80).data(),
                                   Box::sized(28, 4, 175, 24), windowOf(volumeGroup));
  ExuiControl showGroup = host.create(Component::MinutesboxEx, groupSkin.data(), Box::sized(4, 35, 207, 28), windowOf(panel));
  host.create(Component::RadiobuttonEx,
              PropertyWriter().text(kExuiPropCaption, u"显示该窗口").boolean(kExuiPropChecked, true).data(),
              Box::sized(4, 4, 100, 20), windowOf(showGroup));
  host.create(Component::RadiobuttonEx, PropertyWriter().text(kExuiPropCaption, u"隐藏该窗口").data(),
              Box::sized(104, 4, 95, 20), windowOf(showGroup));
  host.create(Component::EditboxEx,
              PropertyWriter()
                  .text(kExuiPropText, u"CTRL+ALT+F10 = 播放/暂停\r\nCTRL+ALT+End = 退出\r\n")
                  .boolean(kExuiPropReadOnly, true)
                  .data(),
              Box::sized(4, 62, 207, 116), windowOf(panel));
  host.create(Component::ButtonEx, PropertyWriter().text(kExuiPropCaption, u"设置开机启动").data(),
              Box::sized(4, 184, 100, 28), windowOf(panel));
  ExuiControl hovered = host.create(Component::ButtonEx, PropertyWriter().text(kExuiPropCaption, u"设置开机启动").data(),
                                    Box::sized(111, 184, 100, 28), windowOf(panel));
  ExuiControl skin = host.create(Component::WindowEx,
                                 PropertyWriter().integer(kExuiPropWindowRole, kExuiWindowRoleFrame)
                                     .text(kExuiPropSkinName, u"默认窗口皮肤").data(),
                                 Box::sized(4, 4, 24, 24));
  ASSERT_TRUE(preview && next && slider && hovered && skin);

  // The pointer over one button, to show its hover look.
  POINT over{50, 14};
  ::ClientToScreen(windowOf(hovered), &over);
  ::SetCursorPos(over.x, over.y);
  movePointer(windowOf(hovered), 50, 14);
  const Pixels shot = photograph(host.window(), "main_window.png");
  ASSERT_EQ(shot.width, 216);
  EXPECT_GE(distinctColours(shot), 4);
}

TEST_F(ScreenshotTest, LibraryWindowWithItsListAndMenu) {
  ComponentHost host(928, 550, 20, 20);
  ExuiControl list = host.create(
      Component::IcoListboxEx,
      PropertyWriter().text(kExuiPropSkinName, u"EX_UI默认皮肤_普通列表框").imageSet(kExuiPropListImages, listSkin()).data(),
      Box::sized(0, 30, 948, 588));
  ExuiControl skin = host.create(Component::WindowEx,
                                 PropertyWriter()
                                     .integer(kExuiPropWindowRole, kExuiWindowRoleFrame)
                                     .picture(kExuiPropBackground, popupBackground())
                                     .imageSet(kExuiPropCloseImages, closeButtonStates())
                                     .data(),
                                 Box::sized(4, 4, 52, 24));
  ASSERT_TRUE(list && skin);
  ::SetWindowTextA(host.window(), "QOVA");
  // What the window's size handler does: the list fills the window below the band.
  ::MoveWindow(windowOf(list), 0, 30, 928, 520, TRUE);

  const char16_t* names[] = {u"海边日落.mp4", u"城市夜景 延时摄影.mp4", u"雪山", u"Forest rain (4K).wmv", u"极光",
                             u"樱花 飘落 慢镜头 特别长的名字会被截断.mp4", u"咖啡馆", u"损坏的缩略图", u"星空",
                             u"海浪", u"山谷晨雾", u"无缩略图"};
  const int sizes[][2] = {{320, 180}, {320, 180}, {240, 240}, {400, 160}, {180, 320}, {320, 180},
                          {320, 200}, {320, 180}, {320, 180}, {320, 180}, {300, 170}, {0, 0}};
  for (int i = 0; i < 12; ++i) {
    exui::Bytes picture = sizes[i][0] ? thumbnail(sizes[i][0], sizes[i][1], i) : exui::Bytes{};
    if (i == 7) picture.resize(picture.size() / 2);  // a damaged thumbnail file
    appendItem(list, picture, names[i]);
  }
  for (int i = 0; i < 12; ++i) appendItem(list, thumbnail(320, 180, i + 2), u"更多视频");

  const RECT hot = itemRect(list, 1);
  POINT over{(hot.left + hot.right) / 2, (hot.top + hot.bottom) / 2};
  ::ClientToScreen(windowOf(list), &over);
  ::SetCursorPos(over.x, over.y);
  movePointer(windowOf(list), (hot.left + hot.right) / 2, (hot.top + hot.bottom) / 2);
  const Pixels shot = photograph(host.window(), "library_window.png");
  ASSERT_EQ(shot.width, 928);
  EXPECT_GE(distinctColours(shot), 8);

  // The application menu over it, as a right-click on empty space shows it.
  const int32_t menu = exui().createMenu(16, 16, ByteArray({}).get(), ByteArray({}).get(), ByteArray({}).get(), 255,
                                         nullptr, 1);
  const char16_t* captions[] = {u"打开设置", u"添加视频", u"退出应用"};
  std::vector<int32_t> ids;
  for (int i = 0; i < 3; ++i) {
    ExuiImage icon = loadImage(menuIcon(i == 2 ? 0xFFE6453Au : 0xFF3A8EE6u, i == 2 ? 3 : i));
    ids.push_back(exui().insertMenuItem(menu, 0, -1, 0, icon, ByteArray::text(captions[i], 4).get(), 0xFF000000u,
                                        0xFF000000u, 80, 22, 0, 0));
    exui().destroyImage(icon);
  }
  POINT at{560, 300};
  ::ClientToScreen(host.window(), &at);
  ASSERT_EQ(exui().popUpMenu(menu, 0, at.x, at.y, host.window(), 0, 0), 1);
  RECT second{};
  exui().callInternal(kExuiFunctionMenuItemRect, menu, ids[1], reinterpret_cast<intptr_t>(&second), 0, 0, 0);
  ::SetCursorPos(second.left + 30, (second.top + second.bottom) / 2);
  pumpMessagesFor(200ms);
  photograph(host.window(), "library_window_menu.png");
  realKey(VK_ESCAPE);
  pumpMessagesFor(100ms);
}

}  // namespace
}  // namespace qova::test
