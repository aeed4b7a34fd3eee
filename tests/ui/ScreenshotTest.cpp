// Photographs of the two windows as their layouts build them, written as PNG
// files into ui_screens\ beside the test program (docs/ keeps copies).
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "app/Program.h"
#include "engines/ExuiBinding.h"
#include "runtime/ProgramDirectory.h"
#include "shell/Layouts.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/support/TestProcess.h"
#include "tests/ui/UiFixture.h"

namespace qova::test {
namespace {

// How many coarse colours cover at least 0.2 % of the picture.
int distinctColours(const Pixels& pixels) {
  std::map<uint32_t, int> buckets;
  for (uint32_t p : pixels.argb) ++buckets[p & 0xE0E0E0u];
  int colours = 0;
  for (const auto& [colour, count] : buckets)
    if (count * 500 >= static_cast<int>(pixels.argb.size())) ++colours;
  return colours;
}

Pixels photograph(HWND window, const std::string& name) {
  ::SetCursorPos(1270, 710);  // no hover look
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pumpMessagesFor(std::chrono::milliseconds(300));
  const Pixels shot = captureClient(window);
  const std::string folder = programFile("ui_screens");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  EXPECT_TRUE(savePng(shot, folder + "\\" + name)) << name;
  std::printf("[ screenshot ] %s\\%s\n", folder.c_str(), name.c_str());
  return shot;
}

class Screenshots : public UiTest {};

TEST_F(Screenshots, MainWindowCollapsedAndExpanded) {
  HWND window = showMainWindow(kMainWindowCollapsedHeight);
  ASSERT_NE(window, nullptr);
  setSliderPosition(controlByName(window, kVolumeSliderName), 80);
  const Pixels collapsed = photograph(window, "main-window-collapsed.png");
  EXPECT_EQ(collapsed.width, 216);
  EXPECT_EQ(collapsed.height, 164);
  EXPECT_GE(distinctColours(collapsed), 3);

  ::SetWindowPos(window, nullptr, 0, 0, kMainWindowWidth, kMainWindowExpandedHeight, SWP_NOMOVE | SWP_NOZORDER);
  const Pixels expanded = photograph(window, "main-window-expanded.png");
  EXPECT_EQ(expanded.height, 387);
  EXPECT_GT(distinctColours(expanded), distinctColours(collapsed)) << "the settings view adds to the picture";
}

TEST_F(Screenshots, LibraryWindowWithThreeItems) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  fillLibraryAndList(controlByName(window, kLibraryListName));
  const Pixels shot = photograph(window, "library-window.png");
  EXPECT_EQ(shot.width, 928);
  EXPECT_EQ(shot.height, 550);
  EXPECT_GE(distinctColours(shot), 6);
}

}  // namespace
}  // namespace qova::test
