#include "tests/support/WindowPhotograph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>

#include "tests/support/TestProcess.h"

namespace qova::test {

using namespace std::chrono_literals;

Pixels settledCapture(HWND window, const std::function<Pixels()>& capture) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pixels previous = capture();
  Pixels now;
  waitUntil(
      [&] {
        pumpMessagesFor(50ms);
        now = capture();
        const bool same = now.argb == previous.argb;
        previous = now;
        return same;
      },
      10s);
  return now;
}

namespace {

Pixels captureWhole(HWND window) {
  RECT client{}, placed{};
  ::GetClientRect(window, &client);
  ::GetWindowRect(window, &placed);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  if (placed.left + client.right <= screenWidth && placed.top + client.bottom <= screenHeight)
    return settledCapture(window, [&] { return captureClient(window); });
  Pixels whole = solid(client.right, client.bottom, 0);
  for (int top = 0; top < client.bottom; top += screenHeight) {
    for (int left = 0; left < client.right; left += screenWidth) {
      ::SetWindowPos(window, nullptr, -left, -top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      const Pixels tile = settledCapture(window, [&] {
        return captureScreen(0, 0, std::min(screenWidth, whole.width - left), std::min(screenHeight, whole.height - top));
      });
      for (int y = 0; y < tile.height; ++y)
        for (int x = 0; x < tile.width; ++x)
          whole.argb[static_cast<size_t>((top + y) * whole.width + left + x)] = tile.at(x, y);
    }
  }
  ::SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return whole;
}

}  // namespace

int distinctColours(const Pixels& pixels) {
  std::map<uint32_t, int> buckets;
  for (uint32_t p : pixels.argb) ++buckets[p & 0xE0E0E0u];
  int colours = 0;
  for (const auto& [colour, count] : buckets)
    if (count * 500 >= static_cast<int>(pixels.argb.size())) ++colours;
  return colours;
}

Pixels photographWindow(HWND window, const std::string& path) {
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const Pixels shot = captureWhole(window);
  EXPECT_TRUE(savePng(shot, path)) << path;
  std::printf("[ screenshot ] %s\n", path.c_str());
  return shot;
}

}  // namespace qova::test
