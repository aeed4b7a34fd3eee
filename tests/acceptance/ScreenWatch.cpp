#include "tests/acceptance/ScreenWatch.h"

#include <algorithm>
#include <cstdlib>

#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

constexpr int kCentreSquare = 60;
constexpr double kMostOf = 0.8;

int channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// One channel strong, the other two weak.
bool dominated(uint32_t pixel, int strongShift) {
  for (int shift : {16, 8, 0}) {
    const int value = channel(pixel, shift);
    if (shift == strongShift ? value < 150 : value > 100) return false;
  }
  return true;
}

}  // namespace

std::string nameOf(Picture picture) {
  switch (picture) {
    case Picture::Red: return "red";
    case Picture::Green: return "green";
    case Picture::Blue: return "blue";
    default: return "other";
  }
}

ScreenImage captureScreen() { return captureClientArea(::GetDesktopWindow()); }

Picture centrePicture(const ScreenImage& screen) {
  const RECT centre{(screen.width - kCentreSquare) / 2, (screen.height - kCentreSquare) / 2,
                    (screen.width + kCentreSquare) / 2, (screen.height + kCentreSquare) / 2};
  for (auto [picture, shift] : {std::pair{Picture::Red, 16}, std::pair{Picture::Green, 8}, std::pair{Picture::Blue, 0}})
    if (screen.share(centre, [shift = shift](uint32_t p) { return dominated(p, shift); }) >= kMostOf)
      return picture;
  return Picture::Other;
}

Picture centrePicture() { return centrePicture(captureScreen()); }

std::vector<Picture> watchPictures(std::size_t count, std::chrono::milliseconds timeout) {
  std::vector<Picture> seen;
  waitUntil(
      [&] {
        const Picture now = centrePicture();
        if (now != Picture::Other && (seen.empty() || seen.back() != now)) seen.push_back(now);
        return seen.size() >= count;
      },
      timeout);
  return seen;
}

void blankScreen() {
  using namespace std::chrono_literals;
  // Painted on the screen itself, not through a window of ours: a window would take part in
  // which window is active, which the journeys' menus depend on.
  const RECT all{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                 ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                 ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  waitUntil(
      [&] {
        HDC screen = ::GetDC(nullptr);
        ::FillRect(screen, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::ReleaseDC(nullptr, screen);
        ::GdiFlush();
        return centrePicture() == Picture::Other;
      },
      5s);
}

bool waitForPicture(Picture picture, std::chrono::milliseconds timeout) {
  return waitUntil([&] { return centrePicture() == picture; }, timeout);
}

double changedShare(const ScreenImage& before, const ScreenImage& after, RECT area) {
  if (before.width != after.width || before.height != after.height) return 1.0;
  int changed = 0;
  int total = 0;
  for (int y = std::max<int>(0, area.top); y < std::min<int>(before.height, area.bottom); ++y)
    for (int x = std::max<int>(0, area.left); x < std::min<int>(before.width, area.right); ++x) {
      ++total;
      if (before.at(x, y) != after.at(x, y)) ++changed;
    }
  return total ? static_cast<double>(changed) / total : 0.0;
}

}  // namespace qova::test
