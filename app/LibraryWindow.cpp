#include "app/LibraryWindow.h"

#include <windows.h>

#include <array>
#include <cstring>

#include "app/AddVideo.h"
#include "app/AppState.h"
#include "app/LibraryList.h"
#include "app/MainWindowPlacement.h"
#include "app/Wallpaper.h"
#include "engines/ExuiBinding.h"
#include "runtime/AnsiText.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "shell/Layouts.h"
#include "shell/WindowBuilder.h"

namespace qova {
namespace {

constexpr int32_t kMenuItemChosen = 650;
constexpr int32_t kLibraryMenuNumber = 1;
constexpr int32_t kItemMenuNumber = 2;
constexpr uint32_t kMenuTextColour = 0xFF000000;  // opaque black

struct MenuItemIds {
  int32_t openSettings = 0;
  int32_t addVideo = 0;
  int32_t exitApplication = 0;
  int32_t deleteEntry = 0;
};

ExuiMenu gLibraryMenu = 0;
ExuiMenu gItemMenu = 0;
MenuItemIds gItemIds;
bool gItemMenuPending = false;
int32_t gPendingDeleteIndex = 0;

exui::ByteView asBytes(const std::string& bytes) {
  return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

// The caption as the menus take it: UTF-16LE, its NUL and two more zero bytes.
std::string captionBytes(const char* caption) {
  std::string bytes = toWideBytes(caption);
  bytes.append(2, '\0');
  return bytes;
}

ExuiFontInfo menuFontInfo() {
  ExuiFontInfo font{};
  const std::wstring face = ansiToWide("微软雅黑");
  for (size_t i = 0; i < face.size() && i + 1 < std::size(font.face); ++i)
    font.face[i] = static_cast<char16_t>(face[i]);
  font.height = 14;
  return font;
}

int32_t insertItem(ExuiMenu menu, const char* caption, const char* iconFile) {
  UniqueImage icon(loadImage(asBytes(readWholeFile(programFile(iconFile)))));
  return insertMenuItem(menu, 0, -1, 0, icon.get(), asBytes(captionBytes(caption)), kMenuTextColour,
                        kMenuTextColour, 80, 22, 0, false);
}

POINT cursorPosition() {
  POINT point{};
  ::GetCursorPos(&point);
  return point;
}

}  // namespace

void onPopupWindowCreated() {
  HWND popup = app().popupWindow;
  app().tray.add(popup, {}, false, "QOVA_壁纸");
  app().tray.setEventHandler(onTrayEvent, true);

  const exui::Bytes font = packFontInfo(menuFontInfo());
  gLibraryMenu = createMenu(16, 16, {}, font, {}, 255, onMenuCommand, kLibraryMenuNumber);
  gItemMenu = createMenu(16, 16, {}, font, {}, 255, onMenuCommand, kItemMenuNumber);
  gItemIds.openSettings = insertItem(gLibraryMenu, "打开设置", "ico\\设置.png");
  gItemIds.addVideo = insertItem(gLibraryMenu, "添加视频", "ico\\添加.png");
  gItemIds.exitApplication = insertItem(gLibraryMenu, "退出应用", "ico\\退出.png");
  gItemIds.deleteEntry = insertItem(gItemMenu, "删除该项", "ico\\删除.png");
}

void onTrayEvent(int32_t code) {
  HWND popup = app().popupWindow;
  if (code == WM_LBUTTONUP) {
    const bool nowVisible = !::IsWindowVisible(popup);
    ::ShowWindow(popup, nowVisible ? SW_SHOW : SW_HIDE);
    if (nowVisible) ::SetFocus(popup);
  } else if (code == WM_RBUTTONUP) {
    const POINT at = cursorPosition();
    popUpStandardMenu(popup, at.x, at.y);
  }
}

void onLibraryItemRightClick(int32_t index) {
  gItemMenuPending = true;
  gPendingDeleteIndex = index;
  const POINT at = cursorPosition();
  popUpMenu(gItemMenu, 0, at.x, at.y, app().popupWindow, true, 0);
}

void onLibraryListRightClick() {
  if (gItemMenuPending) {
    gItemMenuPending = false;
    return;
  }
  const POINT at = cursorPosition();
  popUpMenu(gLibraryMenu, 0, at.x, at.y, app().popupWindow, true, 0);
}

int32_t __cdecl onMenuCommand(int32_t, int32_t code, int32_t item, int32_t, int32_t menuNumber,
                              int32_t) {
  if (code != kMenuItemChosen) return 0;
  if (menuNumber == kLibraryMenuNumber) {
    if (item == gItemIds.addVideo) addVideo();
    else if (item == gItemIds.exitApplication) exitApplication();
    else if (item == gItemIds.openSettings) openSettingsView();
  } else if (menuNumber == kItemMenuNumber && item == gItemIds.deleteEntry) {
    deleteLibraryEntry(gPendingDeleteIndex);
  }
  return 0;
}

void onPreviewRightClick() {
  const POINT at = cursorPosition();
  popUpStandardMenu(app().mainWindow, at.x, at.y);
}

}  // namespace qova
