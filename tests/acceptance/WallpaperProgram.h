#pragma once
// qova.exe with its three real libraries (player engine, frame capture,
// skinned controls) in a program folder of its own, started and driven only
// from outside: the shell's notifications for its icon, clicks on its
// windows, choices in its menus, its hotkeys, and the files beside it.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ProgramFolder.h"
#include "tests/support/UserInput.h"

namespace qova::test {

// Sample clips of bin/media/ with a picture of one solid colour each.
inline constexpr const char* kRedClip = "clip_red.mp4";
inline constexpr const char* kGreenClip = "clip_green.mp4";
inline constexpr const char* kBlueClip = "clip_blue.mp4";
// The same colours, 6 s each: a pause made just after one begins lands before its end.
inline constexpr const char* kLongRedClip = "clip_red_long.mp4";
inline constexpr const char* kLongGreenClip = "clip_green_long.mp4";
inline constexpr const char* kLongBlueClip = "clip_blue_long.mp4";
// A clip whose picture changes all the time.
inline constexpr const char* kMovingClip = "clip_moving.mp4";

// Items of both windows' standard menus and of the skinned application menu, in their order.
enum class MenuItem { OpenSettings = 0, AddVideo = 1, AddFolder = 2, Exit = 4 };
// The three playback buttons, and the settings view's radio buttons "显示该窗口" and "隐藏该窗口".
enum class PanelButton { Previous, PlayPause, Next, ShowThisWindow, HideThisWindow };

class WallpaperProgram {
 public:
  WallpaperProgram();

  ProgramFolder& folder() { return folder_; }
  // Copies these clips of bin/media/ into the program folder and writes the
  // library with one record each, in this order; their paths there.
  std::vector<std::string> useLibraryOf(const std::vector<std::string>& clips);
  void writeSettings(const std::string& text) { folder_.writeSettings(text); }
  std::string libraryText() const;
  std::string settingsText() const;

  // Starts qova.exe and waits until its two windows and its player window (top-level, or a
  // child of the window `layer` gives, when given) exist; false when they did not.
  bool start(const std::function<HWND()>& layer = {});
  DWORD processId() { return folder_.process().id(); }
  std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    return folder_.process().waitForExit(timeout);
  }

  HWND mainWindow();
  HWND popupWindow();
  // The engine's window: a top-level window, or a child of `layer` when given.
  HWND playerWindow(HWND layer = nullptr);

  // The shell's notifications for the icon (514 left button up, 517 right button up).
  void trayEvent(UINT event);
  // Right-clicks the icon and chooses `item` in the menu that opens.
  bool chooseFromTrayMenu(MenuItem item);
  // Right-clicks the panel's preview box and chooses `item` in the menu that opens.
  bool chooseFromPanelMenu(MenuItem item);
  // Right-clicks empty space of the library list and clicks `item` in the skinned menu.
  bool chooseFromLibraryMenu(MenuItem item);
  // Whether the panel shows, at the settings view's height (387).
  bool panelShowsSettingsView();
  bool clickPanelButton(PanelButton button);
  // Shows the library window (a left click on the icon) when it is hidden.
  bool showLibraryWindow();
  // Clicks item `index` (0-based) of the library list, with `button`.
  bool clickLibraryItem(int index, MouseButton button = MouseButton::Left);
  // Right-clicks item `index` and chooses "删除该项" in the menu that opens.
  bool deleteLibraryItem(int index);
  // Clicks the volume slider of the settings view where it shows `value`.
  bool clickVolumeSliderAt(int value);
  // The screen point of the volume slider's thumb for `value`.
  POINT volumeThumbCentre(int value);

 private:
  HWND libraryList();
  // What a chosen menu item visibly does, to tell a choice from a menu closed just as the key came.
  std::function<bool()> effectOf(MenuItem item);
  HWND volumeSlider();

  ProgramFolder folder_{EngineChoice::Real};
};

RECT windowRectOf(HWND window);

}  // namespace qova::test
