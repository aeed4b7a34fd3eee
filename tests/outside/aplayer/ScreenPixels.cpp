#include "tests/outside/aplayer/ScreenPixels.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "runtime/UniqueHandle.h"
#include "tests/support/Dib.h"

namespace qova::test {
namespace {

int red(uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
int green(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
int blue(uint32_t p) { return static_cast<int>(p & 0xFF); }

}  // namespace

double ScreenImage::share(RECT area, const std::function<bool(uint32_t)>& test) const {
  int matching = 0;
  int total = 0;
  for (int y = std::max<int>(0, area.top); y < std::min<int>(height, area.bottom); ++y)
    for (int x = std::max<int>(0, area.left); x < std::min<int>(width, area.right); ++x) {
      ++total;
      if (test(at(x, y))) ++matching;
    }
  return total ? static_cast<double>(matching) / total : 0.0;
}

int ScreenImage::distinctColours() const {
  std::map<uint32_t, int> buckets;
  for (uint32_t p : pixels) ++buckets[p & 0xE0E0E0u];
  int colours = 0;
  for (const auto& [colour, count] : buckets)
    if (count * 100 >= static_cast<int>(pixels.size())) ++colours;
  return colours;
}

double ScreenImage::differenceFrom(const ScreenImage& other) const {
  if (other.pixels.size() != pixels.size() || pixels.empty()) return 0.0;
  double sum = 0.0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const uint32_t a = pixels[i];
    const uint32_t b = other.pixels[i];
    sum += std::abs(red(a) - red(b)) + std::abs(green(a) - green(b)) + std::abs(blue(a) - blue(b));
  }
  return sum / (3.0 * static_cast<double>(pixels.size()));
}

ScreenImage captureClientArea(HWND window) {
  ScreenImage image;
  RECT client{};
  if (!::GetClientRect(window, &client)) return image;
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return image;
  HDC screen = ::GetDC(nullptr);
  UniqueMemoryDc memory(::CreateCompatibleDC(screen));
  void* bits = nullptr;
  UniqueGdiObject dib(createTopDownDib(screen, width, height, &bits));
  if (memory && dib) {
    HGDIOBJ previous = ::SelectObject(memory.get(), dib.get());
    if (::BitBlt(memory.get(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
      ::GdiFlush();
      const auto* source = static_cast<const uint32_t*>(bits);
      image.width = width;
      image.height = height;
      image.pixels.assign(source, source + static_cast<size_t>(width) * static_cast<size_t>(height));
      for (uint32_t& p : image.pixels) p &= 0x00FFFFFFu;
    }
    ::SelectObject(memory.get(), previous);
  }
  ::ReleaseDC(nullptr, screen);
  return image;
}

bool isNearlyBlack(uint32_t p) { return red(p) < 40 && green(p) < 40 && blue(p) < 40; }

bool isRed(uint32_t p) { return red(p) > 160 && green(p) < 90 && blue(p) < 90; }

bool isGreen(uint32_t p) { return green(p) > 160 && red(p) < 90 && blue(p) < 90; }

HBITMAP makeSolidBitmap(int width, int height, COLORREF colour) {
  HDC screen = ::GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = createTopDownDib(screen, width, height, &bits);
  ::ReleaseDC(nullptr, screen);
  if (!bitmap) return nullptr;
  const uint32_t pixel = (uint32_t{GetRValue(colour)} << 16) | (uint32_t{GetGValue(colour)} << 8) | GetBValue(colour);
  auto* p = static_cast<uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) p[i] = pixel;
  return bitmap;
}

}  // namespace qova::test
