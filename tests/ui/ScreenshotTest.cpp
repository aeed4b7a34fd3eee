// Photographs of the two windows as their layouts build them, written as PNG
// files into ui_screens\ beside the test program (docs/ keeps copies); at
// another DPI than 96 the names end in "-<dpi>dpi".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "app/Program.h"
#include "engines/ExuiBinding.h"
#include "runtime/DpiScale.h"
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

void redrawAndWait(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pumpMessagesFor(std::chrono::milliseconds(300));
}

// The client area; a window larger than the screen (at 192 DPI) is shot in
// screen-sized tiles, moved up and left between shots, and put back.
Pixels captureWhole(HWND window) {
  RECT client{}, placed{};
  ::GetClientRect(window, &client);
  ::GetWindowRect(window, &placed);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  if (placed.left + client.right <= screenWidth && placed.top + client.bottom <= screenHeight) {
    redrawAndWait(window);
    return captureClient(window);
  }
  Pixels whole = solid(client.right, client.bottom, 0);
  for (int top = 0; top < client.bottom; top += screenHeight) {
    for (int left = 0; left < client.right; left += screenWidth) {
      ::SetWindowPos(window, nullptr, -left, -top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      redrawAndWait(window);
      const Pixels tile = captureScreen(0, 0, std::min(screenWidth, whole.width - left),
                                        std::min(screenHeight, whole.height - top));
      for (int y = 0; y < tile.height; ++y)
        for (int x = 0; x < tile.width; ++x)
          whole.argb[static_cast<size_t>((top + y) * whole.width + left + x)] = tile.at(x, y);
    }
  }
  ::SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return whole;
}

Pixels photograph(HWND window, const std::string& name) {
  ::SetCursorPos(1270, 710);  // no hover look
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const Pixels shot = captureWhole(window);
  const int dpi = layoutDpi(window);
  const std::string file = dpi == kDesignDpi ? name
                                             : name.substr(0, name.size() - 4) + "-" + std::to_string(dpi) + "dpi.png";
  const std::string folder = programFile("ui_screens");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  EXPECT_TRUE(savePng(shot, folder + "\\" + file)) << file;
  std::printf("[ screenshot ] %s\\%s\n", folder.c_str(), file.c_str());
  return shot;
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
