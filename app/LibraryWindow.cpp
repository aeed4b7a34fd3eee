#include "app/LibraryWindow.h"

#include <algorithm>
#include <string>

#include "engines/ExuiBinding.h"
#include "runtime/AnsiText.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

// The band of the window's skin above the list.
constexpr int kListTop = 30;

exui::ByteView asBytes(const std::string& bytes) {
  return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
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
}

}  // namespace qova
