// Photographs of the two windows as their layouts build them, written as PNG
// files into ui_screens\ beside the test program (docs/ keeps copies); at
// another DPI than 96 the names end in "-<dpi>dpi".
#include <gtest/gtest.h>

#include <string>

#include "app/Program.h"
#include "engines/ExuiBinding.h"
#include "runtime/DpiScale.h"
#include "runtime/ProgramDirectory.h"
#include "shell/Layouts.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/support/WindowPhotograph.h"
#include "tests/ui/UiFixture.h"

namespace qova::test {
namespace {

Pixels photograph(HWND window, const std::string& name) {
  ::SetCursorPos(1270, 710);  // no hover look
  const int dpi = layoutDpi(window);
  const std::string file = dpi == kDesignDpi ? name
                                             : name.substr(0, name.size() - 4) + "-" + std::to_string(dpi) + "dpi.png";
  const std::string folder = programFile("ui_screens");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return photographWindow(window, folder + "\\" + file);
}

class Screenshots : public UiTest {};

TEST_F(Screenshots, MainWindowCollapsedAndExpanded) {
  HWND window = showMainWindow(kMainWindowCollapsedHeight);
  ASSERT_NE(window, nullptr);
  setSliderPosition(controlByName(window, kVolumeSliderName), 80);
  const Pixels collapsed = photograph(window, "main-window-collapsed.png");
  EXPECT_EQ(collapsed.width, scaledFor(window, 216));
  EXPECT_EQ(collapsed.height, scaledFor(window, 164));
  EXPECT_GE(distinctColours(collapsed), 3);

  ::SetWindowPos(window, nullptr, 0, 0, scaledFor(window, kMainWindowWidth),
                 scaledFor(window, kMainWindowExpandedHeight), SWP_NOMOVE | SWP_NOZORDER);
  const Pixels expanded = photograph(window, "main-window-expanded.png");
  EXPECT_EQ(expanded.height, scaledFor(window, 387));
  EXPECT_GT(distinctColours(expanded), distinctColours(collapsed)) << "the settings view adds to the picture";
}

TEST_F(Screenshots, LibraryWindowWithThreeItems) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  fillLibraryAndList(controlByName(window, kLibraryListName));
  const Pixels shot = photograph(window, "library-window.png");
  EXPECT_EQ(shot.width, scaledFor(window, 928));
  EXPECT_EQ(shot.height, scaledFor(window, 550));
  EXPECT_GE(distinctColours(shot), 6);
}

TEST_F(Screenshots, LibraryWindowSettingsPage) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  program->settingsPage.show();
  const Pixels shot = photograph(window, "library-window-settings.png");
  EXPECT_EQ(shot.width, scaledFor(window, 928));
  EXPECT_EQ(shot.height, scaledFor(window, 550));
  EXPECT_GE(distinctColours(shot), 3);
}

}  // namespace
}  // namespace qova::test
