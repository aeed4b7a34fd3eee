// Both windows built from their layouts: every component with its class,
// parent, rectangle, text, pictures and initial state, the standard menus,
// and what shows of MainWindow at its two heights; at the display's DPI
// (the CTest entries ui_tests_144dpi and ui_tests_192dpi start Wine at 144 and
// 192) every rectangle scaled from its layout, and laid out again at another.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/Program.h"
#include "app/Settings.h"
#include "engines/ExuiBinding.h"
#include "runtime/DpiScale.h"
#include "shell/Layouts.h"
#include "tests/support/WindowSearch.h"
#include "tests/ui/UiFixture.h"

namespace qova::test {
namespace {

struct Expected {
  const char* name;
  const char* windowClass;
  const char* parent;  // empty: the window
  RECT rect;           // left, top, right, bottom in the parent's client area
};

// Width and height of each picture of an image set (PNG header), in order.
std::vector<SIZE> pictureSizes(const exui::Bytes& imageSet) {
  std::vector<SIZE> sizes;
  for (const exui::Bytes& png : exui::decodeImageSet(imageSet)) {
    if (png.size() < 24) {
      sizes.push_back({0, 0});
      continue;
    }
    auto bigEndian = [&](size_t at) {
      return static_cast<LONG>((png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3]);
    };
    sizes.push_back({bigEndian(16), bigEndian(20)});
  }
  return sizes;
}

void expectPictures(HWND component, int32_t property, size_t count, LONG width, LONG height) {
  const std::vector<SIZE> sizes = pictureSizes(componentBytesProperty(component, property));
  ASSERT_EQ(sizes.size(), count) << describeWindow(component);
  for (const SIZE& size : sizes) {
    EXPECT_EQ(size.cx, width) << describeWindow(component);
    EXPECT_EQ(size.cy, height) << describeWindow(component);
  }
}

void expectComponents(HWND window, const std::vector<Expected>& expected) {
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    HWND component = controlByName(window, e.name);
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(classNameOf(component), e.windowClass);
    HWND parent = *e.parent ? controlByName(window, e.parent) : window;
    EXPECT_EQ(::GetParent(component), parent);
    const RECT rect = rectInParent(component);
    EXPECT_EQ(rect.left, e.rect.left);
    EXPECT_EQ(rect.top, e.rect.top);
    EXPECT_EQ(rect.right, e.rect.right);
    EXPECT_EQ(rect.bottom, e.rect.bottom);
    EXPECT_NE(controlOf(component), nullptr) << "the library attached no control";
    EXPECT_TRUE(::IsWindowVisible(component) || !::IsWindowVisible(window));
  }
}

// Which components of the window show some of themselves inside its client area.
std::vector<std::string> componentsShowing(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::vector<std::string> showing;
  for (const ComponentLayout& component : layoutOf(window)->components) {
    RECT rect{}, inside{};
    ::GetWindowRect(controlByName(window, component.name), &rect);
    if (::IntersectRect(&inside, &rect, &client)) showing.push_back(component.name);
  }
  return showing;
}

std::vector<std::string> standardMenuCaptions(const WindowLayout& layout) {
  std::vector<std::string> captions;
  for (const MenuItemLayout& item : layout.menu) captions.push_back(item.caption);
  return captions;
}

// The DPI the test's CTest entry started Wine at; 96 without one.
int displayDpi() {
  const char* given = std::getenv("QOVA_TEST_DPI");
  return given ? std::atoi(given) : kDesignDpi;
}

// The main window at a DPI, worked out by hand from its layout: its client
// area, and a few components of both levels, among them rows whose scaled
// edges fall on half a pixel at 144 DPI (rounded away from zero).
struct ScaledMainWindow {
  SIZE client;
  std::vector<Expected> components;
};

ScaledMainWindow scaledMainWindow(int dpi) {
  switch (dpi) {
    case 144:
      return {{324, 581},
              {{"显示框EX", "MinutesboxEx", "", {6, 6, 318, 186}},
               {"播放按钮", "ButtonEx", "", {138, 192, 186, 240}},
               {"底线", "WindowEx", "", {2, 246, 323, 575}},
               {"按钮EX2", "ButtonEx", "底线", {167, 276, 317, 318}}}};
    case 192:
      return {{432, 774},
              {{"显示框EX", "MinutesboxEx", "", {8, 8, 424, 248}},
               {"播放按钮", "ButtonEx", "", {184, 256, 248, 320}},
               {"底线", "WindowEx", "", {2, 328, 430, 766}},
               {"按钮EX2", "ButtonEx", "底线", {222, 368, 422, 424}}}};
    default:
      return {{216, 387},
              {{"显示框EX", "MinutesboxEx", "", {4, 4, 212, 124}},
               {"播放按钮", "ButtonEx", "", {92, 128, 124, 160}},
               {"底线", "WindowEx", "", {1, 164, 215, 383}},
               {"按钮EX2", "ButtonEx", "底线", {111, 184, 211, 212}}}};
  }
}

// The library window's client area at a DPI (928 x 550 at 96).
SIZE scaledLibraryClient(int dpi) {
  return dpi == 144 ? SIZE{1392, 825} : dpi == 192 ? SIZE{1856, 1100} : SIZE{928, 550};
}

// Every component told the DPI to draw at (0: the design DPI).
void expectDpiToldToEveryComponent(HWND window, int dpi) {
  EXPECT_EQ(layoutDpi(window), dpi);
  for (const ComponentLayout& row : layoutOf(window)->components) {
    SCOPED_TRACE(row.name);
    HWND component = controlByName(window, row.name);
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(componentIntegerProperty(component, kExuiPropDpi), dpi == kDesignDpi ? 0 : dpi);
  }
}

// The list fills the library window below its band; the close button, as
// large as its pictures drawn at the DPI, sits in the band's right corner.
void expectLibraryWindowFitted(HWND window, int dpi) {
  RECT client{};
  ::GetClientRect(window, &client);
  const RECT list = rectInParent(controlByName(window, kLibraryListName));
  EXPECT_EQ(list.left, 0);
  EXPECT_EQ(list.top, scaledForDpi(30, dpi));
  EXPECT_EQ(list.right, client.right);
  EXPECT_EQ(list.bottom, client.bottom);
  const RECT close = rectInParent(controlByName(window, "窗口EX"));
  EXPECT_EQ(close.top, 0);
  EXPECT_EQ(close.right, client.right - 1);
  EXPECT_EQ(close.bottom - close.top, scaledForDpi(30, dpi));
}

class Layouts : public UiTest {};

TEST_F(Layouts, AtTheDisplaysDpiEveryRectangleIsScaledFromItsLayout) {
  const int dpi = displayDpi();
  HWND mainWindow = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(mainWindow, nullptr);
  RECT client{};
  ::GetClientRect(mainWindow, &client);
  const ScaledMainWindow expected = scaledMainWindow(dpi);
  EXPECT_EQ(client.right, expected.client.cx);
  EXPECT_EQ(client.bottom, expected.client.cy);
  expectDpiToldToEveryComponent(mainWindow, dpi);
  expectComponents(mainWindow, expected.components);
  ::SetWindowPos(mainWindow, nullptr, 0, 0, client.right, scaledForDpi(kMainWindowCollapsedHeight, dpi),
                 SWP_NOMOVE | SWP_NOZORDER);
  settle();
  EXPECT_EQ(componentsShowing(mainWindow), (std::vector<std::string>{"显示框EX", "上一首", "播放按钮", "下一首"}));

  HWND library = showLibraryWindow();
  ASSERT_NE(library, nullptr);
  ::GetClientRect(library, &client);
  EXPECT_EQ(client.right, scaledLibraryClient(dpi).cx);
  EXPECT_EQ(client.bottom, scaledLibraryClient(dpi).cy);
  expectDpiToldToEveryComponent(library, dpi);
  expectLibraryWindowFitted(library, dpi);
}

TEST_F(Layouts, AtTheDisplaysDpiTheSettingsPageFitsItsControlsAndTakesTheKeyboard) {
  const int dpi = displayDpi();
  HWND library = showLibraryWindow();
  ASSERT_NE(library, nullptr);
  EXPECT_FALSE(::IsWindowVisible(controlByName(library, kSettingsPageName))) << "built hidden";
  program->settingsPage.show();
  settle();
  HWND page = controlByName(library, kSettingsPageName);
  ASSERT_TRUE(::IsWindowVisible(page));
  EXPECT_FALSE(::IsWindowVisible(controlByName(library, kLibraryListName)));
  expectDpiToldToEveryComponent(library, dpi);
  // Every control of the page lies inside its group, every group inside the page.
  RECT pageRect{};
  ::GetWindowRect(page, &pageRect);
  for (const ComponentLayout& row : layoutOf(library)->components) {
    if (row.parent.empty()) continue;
    SCOPED_TRACE(row.name);
    RECT rect{}, parent{}, inside{};
    ::GetWindowRect(controlByName(library, row.name), &rect);
    ::GetWindowRect(controlByName(library, row.parent), &parent);
    ::IntersectRect(&inside, &rect, &parent);
    EXPECT_TRUE(::EqualRect(&inside, &rect)) << row.parent;
    ::IntersectRect(&inside, &rect, &pageRect);
    EXPECT_TRUE(::EqualRect(&inside, &rect));
  }

  // The page keeps the focus on the library window, whose keys it takes.
  EXPECT_EQ(::GetFocus(), library);
  SettingsPage& keys = program->settingsPage;
  EXPECT_TRUE(keys.handleKey(VK_RIGHT));
  EXPECT_EQ(readSetting(kSettingPictureScaling, ""), "适应");
  keys.handleKey(VK_TAB);
  keys.handleKey(VK_SPACE);
  EXPECT_EQ(readSetting(kSettingEveryMonitor, ""), "0");
  EXPECT_EQ(componentIntegerProperty(controlByName(library, settingChoiceName(1, 1)), kExuiPropChecked), 1);
  EXPECT_EQ(componentIntegerProperty(controlByName(library, settingChoiceName(1, 0)), kExuiPropChecked), 0);
  keys.handleKey(VK_ESCAPE);
  EXPECT_FALSE(::IsWindowVisible(page));
  EXPECT_FALSE(keys.handleKey(VK_RIGHT)) << "the list's keys stay the list's";
  EXPECT_TRUE(::IsWindowVisible(controlByName(library, kLibraryListName)));
}

TEST_F(Layouts, AMoveToAMonitorOfAnotherDpiLaysBothWindowsOutAgain) {
  HWND mainWindow = showMainWindow(kMainWindowExpandedHeight);
  HWND library = showLibraryWindow();
  ASSERT_NE(mainWindow, nullptr);
  ASSERT_NE(library, nullptr);
  const int dpi = layoutDpi(library) == 144 ? 192 : 144;
  // The system sends WM_DPICHANGED with the window's rectangle on the new monitor.
  RECT suggested{40, 20, 40 + scaledForDpi(928, dpi), 20 + scaledForDpi(550, dpi)};
  ::SendMessageA(library, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  settle();
  RECT placed{};
  ::GetWindowRect(library, &placed);
  EXPECT_TRUE(::EqualRect(&placed, &suggested));
  expectDpiToldToEveryComponent(library, dpi);
  RECT libraryClient{};
  ::GetClientRect(library, &libraryClient);
  EXPECT_EQ(libraryClient.right, scaledLibraryClient(dpi).cx);
  EXPECT_EQ(libraryClient.bottom, scaledLibraryClient(dpi).cy);
  expectLibraryWindowFitted(library, dpi);

  RECT panel{};
  ::GetWindowRect(mainWindow, &panel);
  suggested = {panel.left, panel.top, panel.left + scaledForDpi(kMainWindowWidth, dpi),
               panel.top + scaledForDpi(kMainWindowExpandedHeight, dpi)};
  ::SendMessageA(mainWindow, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  settle();
  ::GetWindowRect(mainWindow, &placed);
  EXPECT_EQ(placed.right - placed.left, scaledForDpi(kMainWindowWidth, dpi));
  EXPECT_EQ(placed.bottom - placed.top, scaledForDpi(kMainWindowExpandedHeight, dpi));
  expectDpiToldToEveryComponent(mainWindow, dpi);
  expectComponents(mainWindow, scaledMainWindow(dpi).components);
}

TEST_F(Layouts, MainWindowHasEveryComponentWhereItsLayoutPutsIt) {
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 216);
  EXPECT_EQ(client.bottom, 387);
  expectComponents(window, {
      {"显示框EX", "MinutesboxEx", "", {4, 4, 212, 124}},
      {"上一首", "ButtonEx", "", {4, 128, 36, 160}},
      {"播放按钮", "ButtonEx", "", {92, 128, 124, 160}},
      {"下一首", "ButtonEx", "", {180, 128, 212, 160}},
      {"底线", "WindowEx", "", {1, 164, 215, 383}},
      {"分组框EX2", "MinutesboxEx", "底线", {4, 4, 211, 36}},
      {"上一首1", "ButtonEx", "分组框EX2", {4, 4, 28, 28}},
      {"音量进度", "SliderbarEx", "分组框EX2", {28, 4, 203, 28}},
      {"分组框EX1", "MinutesboxEx", "底线", {4, 35, 211, 63}},
      {"单选框EX1", "RadiobuttonEx", "分组框EX1", {4, 4, 104, 24}},
      {"单选框EX2", "RadiobuttonEx", "分组框EX1", {104, 4, 199, 24}},
      {"编辑框EX1", "EditboxEx", "底线", {4, 62, 211, 178}},
      {"按钮EX1", "ButtonEx", "底线", {4, 184, 104, 212}},
      {"按钮EX2", "ButtonEx", "底线", {111, 184, 211, 212}},
  });
  // The window's own skin: the library turns its window into the (here empty) close button.
  HWND skin = controlByName(window, "窗口EX");
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(classNameOf(skin), "WindowEx");
  EXPECT_NE(::GetPropA(skin, "Tab_IsWinControl"), nullptr);
  EXPECT_EQ(layoutOf(window)->components.size(), 15u);
}

TEST_F(Layouts, MainWindowTextsPicturesAndInitialStates) {
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(componentText(controlByName(window, "单选框EX1"), kExuiPropCaption), u"显示该窗口");
  EXPECT_EQ(componentText(controlByName(window, "单选框EX2"), kExuiPropCaption), u"隐藏该窗口");
  EXPECT_EQ(componentIntegerProperty(controlByName(window, "单选框EX1"), kExuiPropChecked), 1);
  EXPECT_EQ(componentIntegerProperty(controlByName(window, "单选框EX2"), kExuiPropChecked), 0);
  EXPECT_EQ(componentText(controlByName(window, "编辑框EX1"), kExuiPropText),
            u"CTRL+ALT+F10 = 播放/暂停\r\nCTRL+ALT+End = 退出\r\n");
  EXPECT_EQ(componentText(controlByName(window, "按钮EX1"), kExuiPropCaption), u"设置开机启动");
  EXPECT_EQ(componentText(controlByName(window, "按钮EX2"), kExuiPropCaption), u"设置开机启动");
  EXPECT_EQ(componentText(controlByName(window, "显示框EX"), kExuiPropCaption), u"");
  EXPECT_EQ(componentText(controlByName(window, "底线"), kExuiPropSkinName), u"默认窗口皮肤");
  EXPECT_EQ(componentText(controlByName(window, "窗口EX"), kExuiPropSkinName), u"默认窗口皮肤");
  EXPECT_EQ(componentText(controlByName(window, "分组框EX1"), kExuiPropSkinName), u"EX_UI默认皮肤_分组框");
  EXPECT_EQ(componentText(controlByName(window, "分组框EX2"), kExuiPropSkinName), u"EX_UI默认皮肤_分组框");
  EXPECT_EQ(componentText(controlByName(window, kVolumeSliderName), kExuiPropSkinName), u"EX_UI默认皮肤_滑块条");

  expectPictures(controlByName(window, "上一首"), kExuiPropStateImages, 3, 32, 32);
  expectPictures(controlByName(window, kPlayButtonName), kExuiPropStateImages, 2, 32, 32);
  expectPictures(controlByName(window, "下一首"), kExuiPropStateImages, 3, 32, 32);
  expectPictures(controlByName(window, "上一首1"), kExuiPropStateImages, 2, 24, 24);
  // The same drawn for 192 DPI.
  expectPictures(controlByName(window, "上一首"), kExuiPropStateImages2x, 3, 64, 64);
  expectPictures(controlByName(window, kPlayButtonName), kExuiPropStateImages2x, 2, 64, 64);
  expectPictures(controlByName(window, "下一首"), kExuiPropStateImages2x, 3, 64, 64);
  expectPictures(controlByName(window, "上一首1"), kExuiPropStateImages2x, 2, 48, 48);
  EXPECT_TRUE(componentBytesProperty(controlByName(window, "显示框EX"), kExuiPropBackground).empty());
}

TEST_F(Layouts, AtHeight164OnlyThePreviewAndThePlaybackButtonsShow) {
  HWND window = showMainWindow(kMainWindowCollapsedHeight);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(componentsShowing(window), (std::vector<std::string>{"显示框EX", "上一首", "播放按钮", "下一首"}));
  ::SetWindowPos(window, nullptr, 0, 0, kMainWindowWidth, kMainWindowExpandedHeight, SWP_NOMOVE | SWP_NOZORDER);
  settle();
  EXPECT_EQ(componentsShowing(window).size(), 14u) << "all but the empty close button of the window's skin";
}

TEST_F(Layouts, PopupWindowHasItsListBelowTheBandAndItsSkin) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 928);
  EXPECT_EQ(client.bottom, 550);
  EXPECT_EQ(layoutOf(window)->components[0].width, 948) << "stored larger than the window";
  EXPECT_EQ(layoutOf(window)->components[0].height, 588);
  expectComponents(window, {{"图标列表框EX", "IcoListboxEx", "", {0, 30, 928, 550}}});
  EXPECT_EQ(componentText(controlByName(window, kLibraryListName), kExuiPropSkinName), u"EX_UI默认皮肤_普通列表框");

  const std::vector<SIZE> list = pictureSizes(componentBytesProperty(controlByName(window, kLibraryListName),
                                                                     kExuiPropListImages));
  const std::vector<SIZE> expected = {{45, 25}, {45, 25}, {10, 34}, {10, 34}, {10, 9}, {10, 9},
                                      {10, 9},  {10, 9},  {10, 9},  {10, 9},  {22, 22}};
  ASSERT_EQ(list.size(), expected.size());
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].cx, expected[i].cx) << "list picture " << i;
    EXPECT_EQ(list[i].cy, expected[i].cy) << "list picture " << i;
  }

  HWND skin = controlByName(window, "窗口EX");
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(componentIntegerProperty(skin, kExuiPropWindowRole), kExuiWindowRoleFrame);
  expectPictures(skin, kExuiPropBackground, 1, 188, 164);
  expectPictures(skin, kExuiPropCloseImages, 3, 30, 30);
  expectPictures(skin, kExuiPropCloseImages2x, 3, 60, 60);
  // The close button sits in the band's right corner.
  const RECT close = rectInParent(skin);
  EXPECT_EQ(close.top, 0);
  EXPECT_EQ(close.right, 927);
  EXPECT_EQ(close.bottom - close.top, 30);
}

TEST_F(Layouts, BothWindowsAreBuiltHiddenAndCarryTheStandardMenu) {
  const WindowLayout mainLayout = mainWindowLayout(program->mainWindowHandlers());
  const WindowLayout libraryLayout = libraryWindowLayout(program->libraryWindowHandlers());
  for (const WindowLayout* layout : {&mainLayout, &libraryLayout}) {
    SCOPED_TRACE(layout->name);
    EXPECT_EQ(layout->menuCaption, "菜单");
    EXPECT_EQ(standardMenuCaptions(*layout),
              (std::vector<std::string>{"打开设置", "添加视频", "添加文件夹", "打开日志文件夹", "退出应用"}));
    for (const MenuItemLayout& item : layout->menu) EXPECT_NE(item.handler, nullptr);
    HWND window = nullptr;
    BuildOptions options;
    options.handle = layout == &mainLayout ? &program->mainWindow.handle : &program->libraryWindow.handle;
    window = buildWindow(recordingLayout(*layout, {{"", kWindowEventCreated}}), options);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(*options.handle, window);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(::GetMenu(window), nullptr) << "the top entry is hidden: no menu bar";
    EXPECT_EQ(::GetParent(window), nullptr);
    EXPECT_NE(::SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0) << "the notification-area icon needs one";
  }
  EXPECT_EQ(handlerCalls().size(), 4u) << "size changed, then created, for each window";
  EXPECT_EQ(handlerCalls()[0].number, kWindowEventSizeChanged);
  EXPECT_EQ(handlerCalls()[1].number, kWindowEventCreated);
}

TEST_F(Layouts, ComponentsNotFoundByOtherNamesOrAfterTheirWindowIsGone) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  HWND list = controlByName(window, kLibraryListName);
  EXPECT_EQ(controlByName(window, "音量进度"), nullptr);
  EXPECT_EQ(controlByName(nullptr, kLibraryListName), nullptr);
  EXPECT_EQ(controlByName(::GetDesktopWindow(), kLibraryListName), nullptr);
  EXPECT_EQ(::GetPropA(list, "hUnit"), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(::GetPropA(list, "Tab_Control"), controlOf(list));
  ::DestroyWindow(window);
  program->libraryWindow.handle = nullptr;
  EXPECT_EQ(controlByName(window, kLibraryListName), nullptr);
  EXPECT_EQ(layoutOf(window), nullptr);
  EXPECT_EQ(controlOf(list), nullptr);
  EXPECT_EQ(listItemCount(list), 0);
}

}  // namespace
}  // namespace qova::test
