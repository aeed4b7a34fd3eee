#pragma once
// Double buffering: a control paints into a DIB-section back buffer through
// a Painter (GDI text and pictures, anti-aliased shapes straight into the
// pixels), and the finished frame is copied to the window in one blit.
#include <windows.h>

#include <string_view>

#include "outside/exui/Geometry.h"
#include "outside/exui/Shapes.h"

namespace qova::exui {

class Picture;

class Canvas {
 public:
  Canvas() = default;
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Makes the buffer at least width x height; false when it cannot.
  bool reserve(int width, int height);
  HDC dc() const { return dc_; }
  // The pixels, after finishing pending GDI drawing.
  Surface surface() const;
  // Copies the top-left width x height to `target` at (x, y).
  void present(HDC target, int x, int y, int width, int height) const;

 private:
  void release();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Draws into a canvas with every coordinate moved by an origin, so that a
// parent can paint itself as the background of a child's buffer.
class Painter {
 public:
  Painter(Canvas& canvas, int originX, int originY) : canvas_(canvas), x_(originX), y_(originY) {}

  Painter shifted(int dx, int dy) const { return Painter(canvas_, x_ + dx, y_ + dy); }
  HDC dc() const { return canvas_.dc(); }

  void fill(const Box& box, uint32_t argb);
  void fill(const Box& box, HBRUSH brush);
  void fillRounded(const Box& box, double radius, uint32_t argb);
  void strokeRounded(const Box& box, double radius, double thickness, uint32_t argb);
  void fillTriangle(double ax, double ay, double bx, double by, double cx, double cy, uint32_t argb);
  void line(double ax, double ay, double bx, double by, double thickness, uint32_t argb);
  // Text in `box` with DrawTextW's `format` (DT_...), in the colour's RGB.
  void text(std::wstring_view text, const Box& box, uint32_t argb, HFONT font, UINT format);
  bool picture(const Picture& picture, const Box& target);
  bool pictureNineGrid(const Picture& picture, const Margins& margins, const Box& target);

 private:
  Box moved(const Box& box) const { return box.moved(x_, y_); }

  Canvas& canvas_;
  int x_;
  int y_;
};

// Pixels wide `text` is in `font` (0 when empty).
int textWidth(std::wstring_view text, HFONT font);
COLORREF rgbOf(uint32_t argb);

}  // namespace qova::exui
