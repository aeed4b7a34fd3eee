#include "outside/exui/Canvas.h"

#include "outside/exui/Picture.h"

namespace qova::exui {

Canvas::~Canvas() { release(); }

void Canvas::release() {
  if (dc_) {
    ::SelectObject(dc_, previous_);
    ::DeleteDC(dc_);
  }
  if (bitmap_) ::DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

bool Canvas::reserve(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (dc_ && width <= width_ && height <= height_) return true;
  release();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = ::CreateCompatibleDC(nullptr);
  if (!bitmap_ || !dc_ || !bits) {
    release();
    return false;
  }
  previous_ = ::SelectObject(dc_, bitmap_);
  ::SetBkMode(dc_, TRANSPARENT);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

Surface Canvas::surface() const {
  ::GdiFlush();
  return Surface{bits_, width_, height_, width_};
}

void Canvas::present(HDC target, int x, int y, int width, int height) const {
  if (dc_) ::BitBlt(target, x, y, width, height, dc_, 0, 0, SRCCOPY);
}

COLORREF rgbOf(uint32_t argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

int textWidth(std::wstring_view text, HFONT font) {
  if (text.empty()) return 0;
  HDC screen = ::GetDC(nullptr);
  HGDIOBJ previous = ::SelectObject(screen, font);
  SIZE size{};
  ::GetTextExtentPoint32W(screen, text.data(), static_cast<int>(text.size()), &size);
  ::SelectObject(screen, previous);
  ::ReleaseDC(nullptr, screen);
  return size.cx;
}

void Painter::fill(const Box& box, uint32_t argb) {
  if ((argb >> 24) == 0xFF) {
    const Box target = moved(box);
    const RECT rect{target.left, target.top, target.right, target.bottom};
    ::SetDCBrushColor(dc(), rgbOf(argb));
    ::FillRect(dc(), &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    return;
  }
  fillRounded(box, 0, argb);
}

void Painter::fill(const Box& box, HBRUSH brush) {
  const Box target = moved(box);
  const RECT rect{target.left, target.top, target.right, target.bottom};
  ::FillRect(dc(), &rect, brush);
}

void Painter::fillRounded(const Box& box, double radius, uint32_t argb) {
  Surface surface = canvas_.surface();
  const Box b = moved(box);
  qova::exui::fillRounded(surface, {double(b.left), double(b.top), double(b.right), double(b.bottom)}, radius,
                          argb);
}

void Painter::strokeRounded(const Box& box, double radius, double thickness, uint32_t argb) {
  Surface surface = canvas_.surface();
  const Box b = moved(box);
  qova::exui::strokeRounded(surface, {double(b.left), double(b.top), double(b.right), double(b.bottom)}, radius,
                            thickness, argb);
}

void Painter::fillTriangle(double ax, double ay, double bx, double by, double cx, double cy, uint32_t argb) {
  Surface surface = canvas_.surface();
  qova::exui::fillTriangle(surface, ax + x_, ay + y_, bx + x_, by + y_, cx + x_, cy + y_, argb);
}

void Painter::line(double ax, double ay, double bx, double by, double thickness, uint32_t argb) {
  Surface surface = canvas_.surface();
  qova::exui::strokeLine(surface, ax + x_, ay + y_, bx + x_, by + y_, thickness, argb);
}

void Painter::text(std::wstring_view text, const Box& box, uint32_t argb, HFONT font, UINT format) {
  if (text.empty()) return;
  const Box target = moved(box);
  RECT rect{target.left, target.top, target.right, target.bottom};
  HGDIOBJ previous = ::SelectObject(dc(), font);
  ::SetTextColor(dc(), rgbOf(argb));
  ::DrawTextW(dc(), text.data(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
  ::SelectObject(dc(), previous);
}

bool Painter::picture(const Picture& picture, const Box& target) {
  if (picture.isEmpty() || target.empty()) return false;
  if (target.width() != picture.width() || target.height() != picture.height())
    return picture.draw(dc(), moved(target));
  // At its own size a picture needs no GDI bitmap: it is blended straight into the buffer.
  Surface surface = canvas_.surface();
  const Box at = moved(target);
  blendImage(surface, at.left, at.top, picture.pixels(), picture.width(), picture.height());
  return true;
}

bool Painter::pictureNineGrid(const Picture& picture, const Margins& margins, const Box& target) {
  return picture.drawNineGrid(dc(), margins, moved(target));
}

}  // namespace qova::exui
