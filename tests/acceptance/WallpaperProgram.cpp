#include "tests/acceptance/WallpaperProgram.h"

#include "outside/exui/ListLayout.h"
#include "outside/exui/SliderScale.h"
#include "runtime/WholeFile.h"
#include "tests/acceptance/ScreenWatch.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

constexpr UINT kTrayCallback = 11685;
constexpr UINT kTrayIconId = 1;
constexpr UINT kLeftButtonUp = 514;
constexpr UINT kRightButtonUp = 517;

// Where things are in the panel (client coordinates): the preview box and the three buttons.
constexpr POINT kPreviewBoxCentre{4 + 104, 4 + 60};
constexpr int kButtonTop = 128;
constexpr int kButtonSize = 32;
constexpr int kPreviousLeft = 4;
constexpr int kPlayLeft = 92;
constexpr int kNextLeft = 180;
// The settings view's radio buttons: below row 164, inside their group box.
constexpr POINT kShowThisWindowCentre{1 + 4 + 4 + 100 / 2, 164 + 35 + 4 + 20 / 2};
constexpr POINT kHideThisWindowCentre{1 + 4 + 104 + 95 / 2, 164 + 35 + 4 + 20 / 2};
// The settings view's volume slider: below row 164, inside its group box.
constexpr POINT kVolumeSliderCentre{1 + 4 + 28 + 175 / 2, 164 + 4 + 4 + 12};
// The slider's thumb is 14 wide; its centre travels between these insets from the ends.
constexpr int kThumbTravelInset = 14 / 2 + 1;
// The library list starts below the library window's 30-pixel band.
constexpr int kListTop = 30;

std::string stemOf(const std::string& clip) { return clip.substr(0, clip.find_last_of('.')); }

HWND visibleOrNot(HWND window) { return ::IsWindow(window) ? window : nullptr; }

POINT screenPointOf(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  return client;
}

}  // namespace

RECT windowRectOf(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

WallpaperProgram::WallpaperProgram() { folder_.copyFromBuild("screenshot.dll"); }

std::vector<std::string> WallpaperProgram::useLibraryOf(const std::vector<std::string>& clips) {
  std::vector<std::string> paths;
  std::vector<ProgramFolder::Entry> entries;
  for (const std::string& clip : clips) {
    folder_.copyFromBuild("media\\" + clip, clip);
    paths.push_back(folder_.file(clip));
    entries.push_back({paths.back(), "", stemOf(clip)});
  }
  folder_.writeLibrary(entries);
  return paths;
}

std::string WallpaperProgram::libraryText() const {
  return readWholeFile(folder_.file("spconfiguration_file.ini"));
}

std::string WallpaperProgram::settingsText() const { return readWholeFile(folder_.file("To_configure.ini")); }

bool WallpaperProgram::start(const std::function<HWND()>& layer) {
  blankScreen();
  if (!folder_.start().started()) return false;
  // The panel's creation runs the whole start-up; the player window comes last of the three,
  // and the program waits for input once the start-up has ended.
  return waitUntil([&] { return mainWindow() && popupWindow() && playerWindow(layer ? layer() : nullptr); }, 30s) &&
         ::WaitForInputIdle(folder_.process().handle(), 30000) == 0;
}

HWND WallpaperProgram::mainWindow() { return findProcessWindow(processId(), "QovaMainWindow"); }

HWND WallpaperProgram::popupWindow() { return findProcessWindow(processId(), "QovaPopupWindow"); }

HWND WallpaperProgram::playerWindow(HWND layer) {
  if (!layer) return findProcessWindow(processId(), "QovaAPlayerVideo");
  for (HWND child : childWindows(layer)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(child, &owner);
    if (owner == processId() && classNameOf(child) == "QovaAPlayerVideo") return child;
  }
  return nullptr;
}

void WallpaperProgram::trayEvent(UINT event) {
  postTrayNotification(popupWindow(), kTrayCallback, kTrayIconId, event);
}

bool WallpaperProgram::chooseFromTrayMenu(MenuItem item) {
  const auto open = [&] {
    trayEvent(kRightButtonUp);
    return true;
  };
  return openAndChooseStandardMenuItem(processId(), open, static_cast<int>(item), 10s, effectOf(item));
}

bool WallpaperProgram::chooseFromPanelMenu(MenuItem item) {
  HWND panel = mainWindow();
  const auto open = [&] {
    return waitUntil([&] { return ::IsWindowVisible(panel) != FALSE; }, 10s) &&
           clickAt(panel, screenPointOf(panel, kPreviewBoxCentre), MouseButton::Right);
  };
  return openAndChooseStandardMenuItem(processId(), open, static_cast<int>(item), 10s, effectOf(item));
}

bool WallpaperProgram::chooseFromLibraryMenu(MenuItem item) {
  HWND list = libraryList();
  if (!list) return false;
  RECT client{};
  ::GetClientRect(list, &client);
  // Empty space: the list's bottom-left corner, below the single row of items.
  return openAndClickSkinnedMenuItem(
      processId(), [&] { return clickAt(list, screenPointOf(list, {20, client.bottom - 20}), MouseButton::Right); },
      static_cast<int>(item), 22, 4, 10s, effectOf(item));
}

bool WallpaperProgram::panelShowsSettingsView() {
  const HWND panel = mainWindow();
  const RECT placed = windowRectOf(panel);
  return ::IsWindowVisible(panel) && placed.bottom - placed.top == 387;
}

std::function<bool()> WallpaperProgram::effectOf(MenuItem item) {
  switch (item) {
    case MenuItem::OpenSettings:
      return [this] { return panelShowsSettingsView(); };
    case MenuItem::Exit:
      return [this] { return !folder_.process().running(); };
    case MenuItem::AddVideo:
    case MenuItem::AddFolder:
      break;
  }
  return {};  // a dialog, which the caller answers
}

bool WallpaperProgram::clickPanelButton(PanelButton button) {
  HWND panel = mainWindow();
  if (button == PanelButton::ShowThisWindow) return clickAt(panel, screenPointOf(panel, kShowThisWindowCentre));
  if (button == PanelButton::HideThisWindow) return clickAt(panel, screenPointOf(panel, kHideThisWindowCentre));
  const int left = button == PanelButton::Previous ? kPreviousLeft
                   : button == PanelButton::Next   ? kNextLeft
                                                   : kPlayLeft;
  return clickAt(panel, screenPointOf(panel, {left + kButtonSize / 2, kButtonTop + kButtonSize / 2}));
}

bool WallpaperProgram::showLibraryWindow() {
  HWND popup = popupWindow();
  if (!popup) return false;
  if (!::IsWindowVisible(popup)) trayEvent(kLeftButtonUp);
  return waitUntil([&] { return ::IsWindowVisible(popup) != FALSE; }, 10s);
}

HWND WallpaperProgram::libraryList() {
  HWND popup = popupWindow();
  if (!showLibraryWindow()) return nullptr;
  RECT client{};
  ::GetClientRect(popup, &client);
  return visibleOrNot(windowAtScreenPoint(popup, screenPointOf(popup, {client.right / 2, kListTop + 5})));
}

bool WallpaperProgram::clickLibraryItem(int index, MouseButton button) {
  HWND list = libraryList();
  if (!list) return false;
  RECT client{};
  ::GetClientRect(list, &client);
  exui::ListLayout layout;
  layout.setViewport(client.right, client.bottom);
  layout.setItemCount(index + 1);
  const exui::Box cell = layout.itemBox(index, 0);
  return clickAt(list, screenPointOf(list, {cell.left + cell.width() / 2, cell.top + cell.height() / 2}), button);
}

bool WallpaperProgram::deleteLibraryItem(int index) {
  return openAndClickSkinnedMenuItem(processId(), [&] { return clickLibraryItem(index, MouseButton::Right); }, 0);
}

HWND WallpaperProgram::volumeSlider() {
  HWND panel = mainWindow();
  return visibleOrNot(windowAtScreenPoint(panel, screenPointOf(panel, kVolumeSliderCentre)));
}

POINT WallpaperProgram::volumeThumbCentre(int value) {
  HWND slider = volumeSlider();
  RECT client{};
  ::GetClientRect(slider, &client);
  const exui::SliderScale scale(0, 100);
  const int x = scale.positionOf(value, kThumbTravelInset, client.right - kThumbTravelInset);
  return screenPointOf(slider, {x, client.bottom / 2});
}

bool WallpaperProgram::clickVolumeSliderAt(int value) {
  HWND slider = volumeSlider();
  return slider && clickAt(slider, volumeThumbCentre(value));
}

}  // namespace qova::test
