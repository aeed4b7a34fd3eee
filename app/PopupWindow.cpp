#include "app/PopupWindow.h"

#include <windows.h>

#include <algorithm>

#include "app/AppState.h"
#include "app/WindowHandlers.h"
#include "shell/Layouts.h"

namespace qova {
namespace {

// The band of the window's skin above the list.
constexpr int kListTop = 30;

}  // namespace

void createPopupWindow() {
  if (::IsWindow(app().popupWindow)) return;
  BuildOptions options;
  options.handle = &app().popupWindow;
  if (!buildWindow(libraryWindowLayout(libraryWindowHandlers()), options)) app().popupWindow = nullptr;
}

void showPopupWindow() {
  createPopupWindow();
  HWND window = app().popupWindow;
  if (!window) return;
  ::ShowWindow(window, SW_SHOW);
  ::SetFocus(window);
}

void onPopupWindowSizeChanged() {
  HWND window = app().popupWindow;
  RECT client{};
  if (!::GetClientRect(window, &client)) return;
  ::SetWindowPos(controlByName(window, kLibraryListName), nullptr, 0, 0, client.right,
                 std::max(0L, client.bottom - kListTop), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void onPopupSkinClosed(int32_t flag) {
  if (flag == 0) ::ShowWindow(app().popupWindow, SW_HIDE);
}

}  // namespace qova
