#include "app/LibraryMenus.h"

#include <string>

#include "app/CursorPosition.h"
#include "engines/ExuiBinding.h"
#include "runtime/AnsiText.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

constexpr int32_t kMenuItemChosen = 650;
constexpr int32_t kLibraryMenuNumber = 1;
constexpr int32_t kItemMenuNumber = 2;
constexpr int32_t kMonitorMenuNumber = 3;
constexpr uint32_t kMenuTextColour = 0xFF000000;  // opaque black

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

int32_t insertItem(ExuiMenu menu, const char* caption, const char* iconFile, int32_t itemData = 0) {
  UniqueImage icon(iconFile ? loadImage(asBytes(readWholeFile(programFile(iconFile)))) : nullptr);
  return insertMenuItem(menu, 0, -1, 0, icon.get(), asBytes(captionBytes(caption)), kMenuTextColour,
                        kMenuTextColour, 80, 22, itemData, false);
}

}  // namespace

void LibraryMenus::build(ExuiMenuCallback callback) {
  const exui::Bytes font = packFontInfo(menuFontInfo());
  libraryMenu_ = createMenu(16, 16, {}, font, {}, 255, callback, kLibraryMenuNumber);
  itemMenu_ = createMenu(16, 16, {}, font, {}, 255, callback, kItemMenuNumber);
  ids_.openSettings = insertItem(libraryMenu_, "打开设置", "ico\\设置.png");
  ids_.addVideo = insertItem(libraryMenu_, "添加视频", "ico\\添加.png");
  ids_.addFolder = insertItem(libraryMenu_, "添加文件夹", "ico\\添加.png");
  ids_.deleteMissingVideos = insertItem(libraryMenu_, "删除失效的视频", "ico\\删除.png");
  ids_.exitApplication = insertItem(libraryMenu_, "退出应用", "ico\\退出.png");
  ids_.settingsPage = insertItem(libraryMenu_, "壁纸设置", "ico\\设置.png");
  ids_.deleteEntry = insertItem(itemMenu_, "删除该项", "ico\\删除.png");
  ids_.playOnMonitor = insertItem(itemMenu_, "在此显示器上播放", nullptr);
  callback_ = callback;
}

void LibraryMenus::popUpMonitorMenu(HWND owner, const std::vector<std::string>& monitors) {
  if (!monitorMenu_ || monitors != monitorCaptions_) {
    monitorMenu_ = createMenu(16, 16, {}, packFontInfo(menuFontInfo()), {}, 255, callback_, kMonitorMenuNumber);
    monitorCaptions_ = monitors;
    for (std::size_t i = 1; i < monitors.size(); ++i)
      insertItem(monitorMenu_, monitors[i].c_str(), nullptr, static_cast<int32_t>(i));
    insertItem(monitorMenu_, "跟随主显示器", nullptr, 0);
  }
  const POINT at = cursorPosition();
  popUpMenu(monitorMenu_, 0, at.x, at.y, owner, true, 0);
}

void LibraryMenus::popUpItemMenu(HWND owner, int32_t item) {
  itemMenuPending_ = true;
  pendingDeleteIndex_ = item;
  const POINT at = cursorPosition();
  popUpMenu(itemMenu_, 0, at.x, at.y, owner, true, 0);
}

void LibraryMenus::popUpLibraryMenu(HWND owner) {
  if (itemMenuPending_) {
    itemMenuPending_ = false;
    return;
  }
  popUpLibraryMenuAt(owner, cursorPosition());
}

void LibraryMenus::popUpLibraryMenuAt(HWND owner, POINT at) {
  popUpMenu(libraryMenu_, 0, at.x, at.y, owner, true, 0);
}

MenuChoice LibraryMenus::choice(int32_t code, int32_t item, int32_t menuNumber) const {
  if (code != kMenuItemChosen) return MenuChoice::None;
  if (menuNumber == kLibraryMenuNumber) {
    if (item == ids_.addVideo) return MenuChoice::AddVideo;
    if (item == ids_.exitApplication) return MenuChoice::ExitApplication;
    if (item == ids_.openSettings) return MenuChoice::OpenSettings;
    if (item == ids_.addFolder) return MenuChoice::AddFolder;
    if (item == ids_.deleteMissingVideos) return MenuChoice::DeleteMissingVideos;
    if (item == ids_.settingsPage) return MenuChoice::SettingsPage;
  } else if (menuNumber == kItemMenuNumber && item == ids_.deleteEntry) {
    return MenuChoice::DeleteEntry;
  } else if (menuNumber == kItemMenuNumber && item == ids_.playOnMonitor) {
    return MenuChoice::PlayOnMonitor;
  }
  return MenuChoice::None;
}

std::optional<int32_t> LibraryMenus::monitorChoice(int32_t code, int32_t itemData, int32_t menuNumber) const {
  if (code != kMenuItemChosen || menuNumber != kMonitorMenuNumber) return std::nullopt;
  return itemData;
}

}  // namespace qova
