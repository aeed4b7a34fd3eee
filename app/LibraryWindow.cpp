#include "app/LibraryWindow.h"

#include <algorithm>
#include <string>

#include "engines/ExuiBinding.h"
#include "library/MissingVideos.h"
#include "resources/LayoutImages.h"
#include "runtime/AnsiText.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

// The band of the window's skin above the list.
constexpr int kListTop = 30;
// How far inside its corner a menu asked for from the keyboard opens.
constexpr int kKeyboardMenuInset = 8;

exui::ByteView asBytes(const std::string& bytes) {
  return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

constexpr int kAddingProgressTextId = 0x5A00;

// The progress's text and button, made the first time they show; null when
// the window is gone.
HWND progressPart(HWND window, int id, const wchar_t* className, DWORD style) {
  if (HWND part = ::GetDlgItem(window, id)) return part;
  HWND part = ::CreateWindowExW(0, className, L"", WS_CHILD | style, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (part) ::SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return part;
}

// The placeholder and caption of an entry whose video file is gone.
void appendMissingItems(HWND list) {
  const exui::Bytes placeholder = layoutImage("missing_video.png");
  for (const FoundRecord& record : missingVideoRecords()) {
    UniqueImage image(loadImage({placeholder.data(), placeholder.size()}));
    insertListItem(list, -1, 1, 0, image.get(), asBytes(toWideBytes(record.name + "（文件不存在）")), 0);
  }
}

}  // namespace

void createLibraryWindow(HWND& window, const LibraryWindowHandlers& handlers,
                         const WindowMessageHandler& messageHandler) {
  if (::IsWindow(window)) return;
  BuildOptions options;
  options.handle = &window;
  options.messageHandler = messageHandler;
  if (!buildWindow(libraryWindowLayout(handlers), options)) window = nullptr;
}

void showLibraryWindow(HWND window) {
  if (!window) return;
  ::ShowWindow(window, SW_SHOW);
  ::SetFocus(window);
}

void toggleLibraryWindow(HWND window) {
  const bool nowVisible = !::IsWindowVisible(window);
  ::ShowWindow(window, nowVisible ? SW_SHOW : SW_HIDE);
  if (nowVisible) ::SetFocus(window);
}

void fitLibraryList(HWND window) {
  RECT client{};
  if (!::GetClientRect(window, &client)) return;
  ::SetWindowPos(controlByName(window, kLibraryListName), nullptr, 0, 0, client.right,
                 std::max(0L, client.bottom - scaledFor(window, kListTop)), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT keyboardMenuPoint(HWND window) {
  HWND list = controlByName(window, kLibraryListName);
  HWND corner = list && ::IsWindowVisible(list) ? list : window;
  const int inset = scaledFor(window, kKeyboardMenuInset);
  POINT at{inset, inset};
  ::ClientToScreen(corner, &at);
  return at;
}

void onLibraryWindowSkinClosed(HWND window, int32_t flag) {
  if (flag == 0) ::ShowWindow(window, SW_HIDE);
}

void refillLibraryList(HWND window, const VideoLibrary& library) {
  HWND list = controlByName(window, kLibraryListName);
  if (!list) return;
  deleteListItems(list, -1, listItemCount(list));
  for (int i = 0; i < library.videoCount && static_cast<size_t>(i) < library.videoNames.size(); ++i) {
    const auto at = static_cast<size_t>(i);
    UniqueImage image(loadImage(asBytes(readWholeFile(library.thumbnailPaths[at]))));
    insertListItem(list, -1, 1, 0, image.get(), asBytes(toWideBytes(library.videoNames[at])), 0);
  }
  appendMissingItems(list);
}

void insertLibraryListItem(HWND window, int position, const std::string& thumbnailPath, const std::string& name) {
  HWND list = controlByName(window, kLibraryListName);
  if (!list) return;
  UniqueImage image(loadImage(asBytes(readWholeFile(thumbnailPath))));
  insertListItem(list, position, 1, 0, image.get(), asBytes(toWideBytes(name)), 0);
}

void showAddingProgress(HWND window, int done, int total) {
  if (!::IsWindow(window)) return;
  HWND text = progressPart(window, kAddingProgressTextId, L"STATIC", SS_RIGHT | SS_CENTERIMAGE);
  HWND cancel = progressPart(window, kCancelAddingButtonId, L"BUTTON", BS_PUSHBUTTON);
  if (!::IsWindowVisible(cancel)) {
    RECT client{};
    ::GetClientRect(window, &client);
    // In the band above the list, left of the skin's close button.
    const int height = scaledFor(window, 22), top = scaledFor(window, 4);
    const int cancelWidth = scaledFor(window, 56), textWidth = scaledFor(window, 180);
    const int cancelLeft = client.right - scaledFor(window, 48) - cancelWidth;
    ::SetWindowTextW(cancel, ansiToWide("取消").c_str());
    ::SetWindowPos(cancel, HWND_TOP, cancelLeft, top, cancelWidth, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::SetWindowPos(text, HWND_TOP, cancelLeft - scaledFor(window, 8) - textWidth, top, textWidth, height,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
  }
  const std::string progress = total == 0 ? std::string("正在添加")
                                          : "正在添加 " + std::to_string(done) + "/" + std::to_string(total);
  ::SetWindowTextW(text, ansiToWide(progress).c_str());
}

void hideAddingProgress(HWND window) {
  if (!::IsWindow(window)) return;
  for (int id : {kAddingProgressTextId, kCancelAddingButtonId})
    if (HWND part = ::GetDlgItem(window, id)) ::ShowWindow(part, SW_HIDE);
}

}  // namespace qova
