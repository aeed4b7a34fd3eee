#pragma once
// The library window's settings page: one group per setting of the file
// (app/SettingsChoices.h), each choice written to "To_configure.ini" the
// moment it is made. The skinned controls take no keyboard focus of their
// own, so the page keeps the focus on the library window and moves its own
// mark: Tab and Shift+Tab go from group to group and to "返回视频库", the
// arrows change the marked group's choice (Page Up, Page Down, Home and End
// move the slider further), Space and Enter take the next choice or press
// the button, Escape goes back to the list.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "shell/Layouts.h"

namespace qova {

class SettingsPage {
 public:
  // `window` is the library window's handle as it is at each call;
  // `changed` hears each key after it was written.
  SettingsPage(const HWND& window, std::function<void(const char* key)> changed);

  // What the library window's layout builds the page from.
  std::vector<SettingGroupLayout> groups();

  // The page over the list, showing what the file holds, the mark on its first group.
  void show();
  // The list again.
  void hide();
  bool shown() const;
  // Size changed: the page covers the window below its band.
  void fit() const;
  // A key pressed in the library window; true when the page took it.
  bool handleKey(WPARAM key);

 private:
  void choose(std::size_t setting, int value);
  void showStored() const;
  void showChoice(std::size_t setting, int value) const;
  void markFocus() const;
  void moveFocus(int step);
  void stepChoice(int step, int sliderStep);

  const HWND& window_;
  std::function<void(const char* key)> changed_;
  std::size_t focused_ = 0;  // a setting, or the settings' count for "返回视频库"
};

}  // namespace qova
