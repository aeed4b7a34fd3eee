// Display geometry under Wine, and the live preview's exact call through a
// stand-in dwmapi.dll beside this test program.
#include "desktop/DisplayGeometry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstddef>

#include "desktop/Monitors.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace {

TEST(DisplayGeometry, TheModeMatchesTheScreenAndTheTaskbarHeightComesFromIt) {
  const qova::DisplayMode mode = qova::queryDisplayMode();
  EXPECT_EQ(mode.width, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(mode.height, ::GetSystemMetrics(SM_CYSCREEN));
  EXPECT_GT(mode.bitsPerPixel, 0);
  APPBARDATA taskbar{};
  taskbar.cbSize = sizeof taskbar;
  ::SHAppBarMessage(ABM_GETTASKBARPOS, &taskbar);
  EXPECT_EQ(qova::taskbarHeight(), mode.height - taskbar.rc.top);
}

// One monitor in the plain bench; side by side in a display of two (BENCH_MONITORS=2).
TEST(DisplayGeometry, TheMonitorsAreTheSystemsWithThePrimaryAtTheOrigin) {
  const std::vector<qova::MonitorArea> monitors = qova::listMonitors();
  ASSERT_EQ(monitors.size(), static_cast<std::size_t>(::GetSystemMetrics(SM_CMONITORS)));
  int primaries = 0;
  for (const qova::MonitorArea& monitor : monitors) {
    if (!monitor.primary) continue;
    ++primaries;
    EXPECT_EQ(monitor.rect, (qova::ScreenRect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}));
  }
  EXPECT_EQ(primaries, 1);
  const qova::ScreenRect all = qova::virtualScreen(monitors);
  EXPECT_EQ(all.left, ::GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(all.top, ::GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(all.right - all.left, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(all.bottom - all.top, ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TEST(DesktopPreview, PropertiesAreTheFortyEightBytesTheSystemExpects) {
  static_assert(offsetof(qova::DesktopPreviewProperties, opacity) == 36);
  static_assert(offsetof(qova::DesktopPreviewProperties, fVisible) == 40);
  const qova::DesktopPreviewProperties p = qova::desktopPreviewProperties({4, 4, 212, 124});
  EXPECT_EQ(p.dwFlags, 0x0Du);
  EXPECT_EQ(p.opacity, 255);
  EXPECT_TRUE(p.fVisible);
  EXPECT_FALSE(p.fSourceClientAreaOnly);
}

TEST(DesktopPreview, RegistersTheDesktopAndSendsTheExactProperties) {
  const std::string log = qova::programFile("dwm_calls.log");
  ::DeleteFileA(log.c_str());
  HWND main = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 216, 164, nullptr, nullptr,
                                nullptr, nullptr);
  HWND source = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
  const HTHUMBNAIL thumbnail = qova::startDesktopPreview(main, source);
  // Fitted again (a move to a monitor of another scale): the same thumbnail, the same box at this DPI.
  qova::fitDesktopPreview(main, thumbnail);
  qova::fitDesktopPreview(main, nullptr);
  const std::string calls = qova::readWholeFile(log);
  char expectedRegister[128];
  std::snprintf(expectedRegister, sizeof expectedRegister, "DwmRegisterThumbnail(%llx,%llx)\n",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(main)),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(source)));
  // flags 0x0D; destination 4,4,212,124; source 0; opacity 255 and three
  // bytes of alignment; visible; whole window.
  const std::string expectedProperties =
      "DwmUpdateThumbnailProperties(20816,"
      "0d000000" "04000000" "04000000" "d4000000" "7c000000"
      "00000000" "00000000" "00000000" "00000000"
      "ff000000" "01000000" "00000000)\n";
  EXPECT_EQ(calls, expectedRegister + expectedProperties + expectedProperties);
  ::DestroyWindow(main);
  ::DestroyWindow(source);
}

}  // namespace
