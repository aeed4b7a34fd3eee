// Display geometry under Wine, and the live preview's exact call through a
// stand-in dwmapi.dll beside this test program.
#include "desktop/DisplayGeometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "desktop/Monitors.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace {

// The bench's display (scripts/lib/bench.sh): BENCH_SCREEN, 1280x720 unless
// set; in the display of two monitors (BENCH_MONITORS=2) 1280x720 with
// 1024x768 to its right. The expectations come from there, not from the
// system queries the code itself asks.
struct BenchDisplay {
  std::vector<qova::ScreenRect> monitors;  // the primary first
};

BenchDisplay benchDisplay() {
  char monitorsText[8] = {}, screenText[32] = {};
  const bool two = ::GetEnvironmentVariableA("BENCH_MONITORS", monitorsText, sizeof monitorsText) > 0 &&
                   std::string(monitorsText) == "2";
  if (two) return {{{0, 0, 1280, 720}, {1280, 0, 2304, 768}}};
  int width = 1280, height = 720;
  if (::GetEnvironmentVariableA("BENCH_SCREEN", screenText, sizeof screenText) > 0)
    std::sscanf(screenText, "%dx%d", &width, &height);
  return {{{0, 0, width, height}}};
}

TEST(DisplayGeometry, TheModeIsTheBenchDisplays) {
  const qova::DisplayMode mode = qova::queryDisplayMode();
  const qova::ScreenRect primary = benchDisplay().monitors.front();
  EXPECT_EQ(mode.width, primary.right);
  EXPECT_EQ(mode.height, primary.bottom);
  EXPECT_EQ(mode.bitsPerPixel, 32) << "Xvfb's 24-bit depth is a 32-bit mode to Windows programs";
}

TEST(DisplayGeometry, TheMonitorsAreTheBenchDisplaysWithThePrimaryAtTheOrigin) {
  const BenchDisplay bench = benchDisplay();
  const std::vector<qova::MonitorArea> monitors = qova::listMonitors();
  ASSERT_EQ(monitors.size(), bench.monitors.size());
  std::size_t matched = 0;
  for (const qova::MonitorArea& monitor : monitors) {
    if (monitor.primary) {
      EXPECT_EQ(monitor.rect, bench.monitors.front());
    }
    for (const qova::ScreenRect& expected : bench.monitors) matched += monitor.rect == expected;
  }
  EXPECT_EQ(matched, bench.monitors.size());
  EXPECT_EQ(std::count_if(monitors.begin(), monitors.end(), [](const auto& m) { return m.primary; }), 1);
  const qova::ScreenRect all = qova::virtualScreen(monitors);
  const qova::ScreenRect last = bench.monitors.back();
  EXPECT_EQ(all, (qova::ScreenRect{0, 0, last.right, std::max(last.bottom, bench.monitors.front().bottom)}));
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

TEST(DesktopPreview, WithoutCompositionNothingShowsAndNothingMoreIsAsked) {
  const std::string log = qova::programFile("dwm_calls.log");
  ::DeleteFileA(log.c_str());
  ::SetEnvironmentVariableA("QOVA_DWM_COMPOSITION", "0");
  HWND main = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 216, 164, nullptr, nullptr,
                                nullptr, nullptr);
  EXPECT_EQ(qova::startDesktopPreview(main, ::GetDesktopWindow()), nullptr);
  ::SetEnvironmentVariableA("QOVA_DWM_COMPOSITION", nullptr);
  qova::fitDesktopPreview(main, nullptr);
  const std::string calls = qova::readWholeFile(log);
  EXPECT_EQ(calls.find("DwmRegisterThumbnail("), 0u) << calls;
  EXPECT_EQ(calls.find("DwmUpdateThumbnailProperties"), std::string::npos) << calls;
  EXPECT_TRUE(::IsWindow(main));
  ::DestroyWindow(main);
}

}  // namespace
