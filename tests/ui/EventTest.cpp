// Real mouse input on the two windows (SendInput in the virtual display, or
// the mouse message itself where the pointer cannot make it alone): each
// component event reaches the handler its layout binds, with its values.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/Program.h"
#include "app/Settings.h"
#include "app/StartWithWindows.h"
#include "engines/ExuiBinding.h"
#include "shell/Layouts.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/support/MenuCloser.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"
#include "tests/ui/UiFixture.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

std::string recordingLog() {
  auto log = reinterpret_cast<const char* (*)()>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("APlayerCaller.dll"), "Recording_Log")));
  return log ? log() : "";
}

void resetRecording() {
  auto reset = reinterpret_cast<void (*)()>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("APlayerCaller.dll"), "Recording_Reset")));
  if (reset) reset();
}

// A menu of this process on the screen: the system's or the component library's.
bool anyMenuShowing() { return visibleMenuOf(::GetCurrentProcessId()) != nullptr; }

// The screen point in the middle of list item `index`.
POINT itemMiddle(HWND list, int index) {
  const RECT item = itemRect(controlOf(list), index);
  return screenPoint(list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

LPARAM pointParameter(int x, int y) { return MAKELPARAM(x, y); }

class Events : public UiTest {};

TEST_F(Events, ClickingAListItemPlaysThatEntry) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  HWND list = controlByName(window, kLibraryListName);
  fillLibraryAndList(list);
  ASSERT_EQ(listItemCount(list), 3);
  resetRecording();

  const POINT second = itemMiddle(list, 1);
  realClick(second.x, second.y);
  ASSERT_TRUE(settleUntil([&] { return program->library.currentIndex == 2; })) << "item 1 did not play";
  EXPECT_EQ(callNumbers(kLibraryListName), std::vector<int32_t>{6});
  EXPECT_EQ(handlerCalls().back().a, 1);
  EXPECT_NE(recordingLog().find("APlayer_OpenA(0," + program->library.videoPaths[1] + ")"), std::string::npos)
      << recordingLog();
}

TEST_F(Events, RightClickingAnItemRaises3Then15AndShowsNoApplicationMenu) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  HWND list = controlByName(window, kLibraryListName);
  fillLibraryAndList(list);
  MenuCloser menus;

  const POINT third = itemMiddle(list, 2);
  realPress(third.x, third.y, Button::Right);
  ASSERT_TRUE(settleUntil([] { return !callNumbers(kLibraryListName).empty(); }));
  realRelease(Button::Right);
  ASSERT_TRUE(settleUntil([] { return callNumbers(kLibraryListName).size() == 2; }));
  EXPECT_EQ(callNumbers(kLibraryListName), (std::vector<int32_t>{3, 15}));
  ASSERT_FALSE(handlerCalls().empty());
  EXPECT_EQ(handlerCalls().front().a, 2) << "event 3 carries the item index";
  settle();
  EXPECT_FALSE(anyMenuShowing());
  EXPECT_EQ(menus.menusShown(), 1) << "only the item's menu, never the application menu as well";
  EXPECT_EQ(program->library.currentIndex, 1) << "a right click plays nothing";

  // On empty space only 15 comes.
  handlerCalls().clear();
  const POINT empty = screenPoint(list, 800, 400);
  realClick(empty.x, empty.y, Button::Right);
  ASSERT_TRUE(settleUntil([] { return !callNumbers(kLibraryListName).empty(); }));
  settle();
  EXPECT_EQ(callNumbers(kLibraryListName), std::vector<int32_t>{15});
  EXPECT_EQ(menus.menusShown(), 2) << "empty space shows the application menu";
}

TEST_F(Events, MovingTheVolumeSliderSavesItsNewValue) {
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  HWND slider = controlByName(window, kVolumeSliderName);
  ASSERT_TRUE(setSliderPosition(slider, 10));
  settle();
  EXPECT_TRUE(callNumbers(kVolumeSliderName).empty()) << "setting it raises nothing";

  RECT client{};
  ::GetClientRect(slider, &client);
  const POINT at = screenPoint(slider, client.right * 3 / 4, client.bottom / 2);
  realClick(at.x, at.y);
  ASSERT_TRUE(settleUntil([] { return !callNumbers(kVolumeSliderName).empty(); })) << "no event 0 from the slider";
  const int32_t value = handlerCalls().back().a;
  EXPECT_GT(value, 10);
  EXPECT_EQ(value, sliderPosition(slider));
  EXPECT_EQ(readSetting(kSettingVolume, ""), std::to_string(value));
}

TEST_F(Events, EachRadioButtonWritesTheDisplaySetting) {
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  clickMiddle(controlByName(window, "单选框EX1"));
  ASSERT_TRUE(settleUntil([] { return !callNumbers("单选框EX1").empty(); }));
  EXPECT_EQ(readSetting(kSettingWindowDisplay, ""), "0");

  clickMiddle(controlByName(window, "单选框EX2"));
  ASSERT_TRUE(settleUntil([] { return !callNumbers("单选框EX2").empty(); }));
  EXPECT_EQ(readSetting(kSettingWindowDisplay, ""), "1");
  EXPECT_EQ(componentIntegerProperty(controlByName(window, "单选框EX2"), kExuiPropChecked), 1);
  EXPECT_EQ(componentIntegerProperty(controlByName(window, "单选框EX1"), kExuiPropChecked), 0);
}

// The Run value, in the real registry; empty when there is none.
std::wstring runValue() {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return {};
  return value;
}

void writeRunValue(const std::wstring& command) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, REG_SZ, command.c_str(),
                    static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

// Whatever a test leaves, the next start of the Wine prefix would run it.
struct RunValueRemovedAtTheEnd {
  ~RunValueRemovedAtTheEnd() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName); }
};

TEST_F(Events, TheStartWithWindowsButtonsSetAndRemoveTheRunValueAndSayWhichHolds) {
  RunValueRemovedAtTheEnd cleanUp;
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  HWND on = controlByName(window, "按钮EX1");
  HWND off = controlByName(window, "按钮EX2");
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);

  clickMiddle(on);
  ASSERT_TRUE(settleUntil([] { return !callNumbers("按钮EX1").empty(); }));
  EXPECT_EQ(runValue(), L"\"" + std::wstring(self) + L"\"");
  EXPECT_EQ(componentText(on, kExuiPropCaption), u"已设置开机启动");
  EXPECT_EQ(componentText(off, kExuiPropCaption), u"取消开机启动");

  clickMiddle(off);
  ASSERT_TRUE(settleUntil([] { return !callNumbers("按钮EX2").empty(); }));
  EXPECT_EQ(runValue(), L"") << "the value is gone";
  EXPECT_EQ(componentText(on, kExuiPropCaption), u"设置开机启动");
  EXPECT_EQ(::GetFileAttributesA(settingsFilePath().c_str()), INVALID_FILE_ATTRIBUTES) << "no setting is written";
}

TEST_F(Events, AValueOfACopyThatMovedIsStaleAndTheButtonRepointsIt) {
  RunValueRemovedAtTheEnd cleanUp;
  writeRunValue(L"\"C:\\where it was\\qova.exe\"");
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  HWND on = controlByName(window, "按钮EX1");
  program->mainWindowHandlers().menu.openSettings();  // "打开设置" reads the state
  EXPECT_EQ(componentText(on, kExuiPropCaption), u"开机启动已失效");

  clickMiddle(on);
  ASSERT_TRUE(settleUntil([] { return !callNumbers("按钮EX1").empty(); }));
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(runValue(), L"\"" + std::wstring(self) + L"\"") << "this copy's quoted path";
  EXPECT_EQ(componentText(on, kExuiPropCaption), u"已设置开机启动");
}

TEST_F(Events, ThePreviewBoxOpensThePopupWindowAndItsThirdActionDoesNothing) {
  HWND window = showMainWindow(kMainWindowCollapsedHeight);
  ASSERT_NE(window, nullptr);
  HWND preview = controlByName(window, kPreviewBoxName);

  // Event 8 (a double click's second press, sent as the message itself).
  const auto windowsBefore = topLevelWindowsOf(::GetCurrentProcessId());
  RECT before{};
  ::GetWindowRect(window, &before);
  ::SendMessageA(preview, WM_LBUTTONDBLCLK, MK_LBUTTON, pointParameter(50, 50));
  ::SendMessageA(preview, WM_LBUTTONUP, 0, pointParameter(50, 50));
  settle();
  EXPECT_EQ(callNumbers(kPreviewBoxName), std::vector<int32_t>{8});
  EXPECT_EQ(topLevelWindowsOf(::GetCurrentProcessId()).size(), windowsBefore.size());
  EXPECT_EQ(program->libraryWindow.handle, nullptr);
  RECT after{};
  ::GetWindowRect(window, &after);
  EXPECT_TRUE(::EqualRect(&before, &after));
  EXPECT_EQ(::GetFileAttributesA(settingsFilePath().c_str()), INVALID_FILE_ATTRIBUTES);

  // A right click raises 5, which opens MainWindow's menu at the cursor.
  {
    MenuCloser menus;
    clickMiddle(preview, Button::Right);
    ASSERT_TRUE(settleUntil([] { return callNumbers(kPreviewBoxName).size() == 2; }));
    EXPECT_EQ(callNumbers(kPreviewBoxName).back(), 5);
    settleUntil([&] { return menus.menusShown() > 0; });
    EXPECT_EQ(menus.menusShown(), 1);
  }

  // A left click raises 6: PopupWindow is made, shown and focused.
  clickMiddle(preview);
  ASSERT_TRUE(settleUntil([&] { return program->libraryWindow.handle && ::IsWindowVisible(program->libraryWindow.handle); }))
      << "PopupWindow did not show";
  EXPECT_EQ(callNumbers(kPreviewBoxName).back(), 6);
  EXPECT_EQ(::GetFocus(), program->libraryWindow.handle);
  EXPECT_EQ(::GetParent(program->libraryWindow.handle), nullptr);
  EXPECT_NE(controlByName(program->libraryWindow.handle, kLibraryListName), nullptr);
}

TEST_F(Events, ThePlaybackButtonsReachTheirHandlers) {
  HWND window = showMainWindow(kMainWindowCollapsedHeight);
  ASSERT_NE(window, nullptr);
  VideoLibrary& library = program->library;
  library.videoPaths = {"a.mp4", "b.mp4", "c.mp4"};
  library.thumbnailPaths = {"", "", ""};
  library.videoNames = {"a", "b", "c"};
  library.videoCount = 3;
  library.currentIndex = 1;

  clickMiddle(controlByName(window, "下一首"));
  ASSERT_TRUE(settleUntil([&] { return library.currentIndex == 2; }));
  clickMiddle(controlByName(window, "上一首"));
  ASSERT_TRUE(settleUntil([&] { return library.currentIndex == 1; }));
  clickMiddle(controlByName(window, kPlayButtonName));
  ASSERT_TRUE(settleUntil([] { return !callNumbers(kPlayButtonName).empty(); }));
  EXPECT_EQ(callNumbers("下一首"), std::vector<int32_t>{0});
  EXPECT_EQ(callNumbers("上一首"), std::vector<int32_t>{0});
  EXPECT_EQ(callNumbers(kPlayButtonName), std::vector<int32_t>{0});
}

TEST_F(Events, ResizingPopupWindowFitsTheListBelowTheBand) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  HWND list = controlByName(window, kLibraryListName);
  for (SIZE size : {SIZE{600, 400}, SIZE{928, 550}, SIZE{320, 20}}) {
    ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    settle();
    const RECT rect = rectInParent(list);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right - rect.left, size.cx);
    EXPECT_EQ(rect.bottom - rect.top, std::max<LONG>(0, size.cy - 30));
  }
}

TEST_F(Events, TheSkinsCloseButtonHidesPopupWindow) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  clickMiddle(controlByName(window, "窗口EX"));
  ASSERT_TRUE(settleUntil([&] { return !::IsWindowVisible(window); }));
  ASSERT_EQ(callNumbers("窗口EX"), std::vector<int32_t>{1});
  EXPECT_EQ(handlerCalls().back().a, 0);
  EXPECT_TRUE(::IsWindow(window)) << "hidden, not destroyed";

  // A true flag leaves the window as it is.
  ::ShowWindow(window, SW_SHOWNA);
  program->libraryWindowHandlers().skinClosed(1);
  EXPECT_TRUE(::IsWindowVisible(window));
}

// The standard menu's items run their handlers; these stand in for the
// application's, which would open the settings, a file dialog or end the process.
int chosenItem = 0;
void chooseFirst() { chosenItem = 1; }
void chooseSecond() { chosenItem = 2; }
void chooseThird() { chosenItem = 3; }
void chooseFourth() { chosenItem = 4; }
void chooseFifth() { chosenItem = 5; }

TEST_F(Events, TheStandardMenuRunsTheChosenItemsHandler) {
  WindowLayout layout = recordingLayout(libraryWindowLayout(program->libraryWindowHandlers()));
  ASSERT_EQ(layout.menu.size(), 5u);
  layout.menu[0].handler = &chooseFirst;
  layout.menu[1].handler = &chooseSecond;
  layout.menu[2].handler = &chooseThird;
  layout.menu[3].handler = &chooseFourth;
  layout.menu[4].handler = &chooseFifth;
  BuildOptions options;
  options.handle = &program->libraryWindow.handle;
  HWND window = buildWindow(layout, options);
  ASSERT_NE(window, nullptr);
  ::SetWindowPos(window, HWND_TOP, kLibraryWindowAt.x, kLibraryWindowAt.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  settle();

  std::vector<std::string> captions;
  std::thread chooser([&] {
    HWND menu = nullptr;
    waitUntil(
        [&] {
          menu = findProcessWindow(::GetCurrentProcessId(), "#32768");
          return menu && ::IsWindowVisible(menu);
        },
        5s);
    if (!menu) return;
    HMENU items = reinterpret_cast<HMENU>(::SendMessageA(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(items); ++i) {
      char caption[64] = {};
      ::GetMenuStringA(items, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
      captions.push_back(caption);
    }
    pressMenuKeys(menu, {VK_DOWN, VK_DOWN, VK_RETURN});
  });
  chosenItem = 0;
  const POINT at = screenPoint(window, 200, 200);
  const bool chosen = popUpStandardMenu(window, at.x, at.y);
  chooser.join();
  EXPECT_TRUE(chosen);
  EXPECT_EQ(chosenItem, 2);
  EXPECT_EQ(captions, (std::vector<std::string>{"打开设置", "添加视频", "添加文件夹", "打开日志文件夹", "退出应用"}));
  EXPECT_FALSE(popUpStandardMenu(nullptr, at.x, at.y));
}

}  // namespace
}  // namespace qova::test
