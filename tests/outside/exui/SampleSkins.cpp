#include "tests/outside/exui/SampleSkins.h"

#include <windows.h>

#include "outside/exui/ExuiContract.h"
#include "tests/outside/exui/TestPictures.h"

namespace qova::test {
namespace {

using exui::Bytes;

void polygon(HDC dc, std::initializer_list<POINT> points) {
  std::vector<POINT> corners(points);
  ::Polygon(dc, corners.data(), static_cast<int>(corners.size()));
}

void box(HDC dc, int left, int top, int right, int bottom) {
  const RECT rect{left, top, right, bottom};
  ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void drawSymbol(HDC dc, ButtonSymbol symbol, int s) {
  const int m = s / 2;
  switch (symbol) {
    case ButtonSymbol::Previous:
      box(dc, s * 9 / 32, s * 9 / 32, s * 12 / 32, s * 23 / 32);
      polygon(dc, {{s * 23 / 32, s * 9 / 32}, {s * 23 / 32, s * 23 / 32}, {s * 12 / 32, m}});
      break;
    case ButtonSymbol::Next:
      box(dc, s * 20 / 32, s * 9 / 32, s * 23 / 32, s * 23 / 32);
      polygon(dc, {{s * 9 / 32, s * 9 / 32}, {s * 9 / 32, s * 23 / 32}, {s * 20 / 32, m}});
      break;
    case ButtonSymbol::Pause:
      box(dc, s * 10 / 32, s * 9 / 32, s * 14 / 32, s * 23 / 32);
      box(dc, s * 18 / 32, s * 9 / 32, s * 22 / 32, s * 23 / 32);
      break;
    case ButtonSymbol::Play:
      polygon(dc, {{s * 11 / 32, s * 8 / 32}, {s * 11 / 32, s * 24 / 32}, {s * 24 / 32, m}});
      break;
    case ButtonSymbol::Speaker:
      box(dc, s * 4 / 24, s * 9 / 24, s * 8 / 24, s * 15 / 24);
      polygon(dc, {{s * 8 / 24, s * 9 / 24}, {s * 13 / 24, s * 4 / 24}, {s * 13 / 24, s * 20 / 24},
                   {s * 8 / 24, s * 15 / 24}});
      box(dc, s * 16 / 24, s * 9 / 24, s * 17 / 24, s * 15 / 24);
      box(dc, s * 19 / 24, s * 7 / 24, s * 20 / 24, s * 17 / 24);
      break;
  }
}

// A round face behind the symbol, or none.
void drawFace(HDC dc, int s, bool withFace) {
  if (withFace) ::Ellipse(dc, 1, 1, s - 1, s - 1);
}

Pixels symbolPicture(ButtonSymbol symbol, int s, uint32_t ink, uint32_t face) {
  Pixels background = glyph(s, s, face, 0x00000000u, [&](HDC dc) { drawFace(dc, s, face != 0); });
  Pixels symbolInk = glyph(s, s, ink, 0x00000000u, [&](HDC dc) { drawSymbol(dc, symbol, s); });
  // The symbol over its face.
  for (size_t i = 0; i < background.argb.size(); ++i) {
    const uint32_t top = symbolInk.argb[i];
    const uint32_t a = top >> 24;
    if (a == 0) continue;
    const uint32_t under = background.argb[i];
    const uint32_t ua = under >> 24;
    const uint32_t alpha = a + ua * (255 - a) / 255;
    uint32_t pixel = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
      const uint32_t c = ((top >> shift) & 0xFF) * a + ((under >> shift) & 0xFF) * ua * (255 - a) / 255;
      pixel |= (alpha ? c / alpha : 0) << shift;
    }
    background.argb[i] = pixel;
  }
  return background;
}

Pixels cross(int s, uint32_t ink, uint32_t face) {
  return glyph(s, s, ink, face, [s](HDC dc) {
    HPEN pen = ::CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
    HGDIOBJ previous = ::SelectObject(dc, pen);
    ::MoveToEx(dc, s / 3, s / 3, nullptr);
    ::LineTo(dc, s - s / 3, s - s / 3);
    ::MoveToEx(dc, s - s / 3, s / 3, nullptr);
    ::LineTo(dc, s / 3, s - s / 3);
    ::SelectObject(dc, previous);
    ::DeleteObject(pen);
  });
}

Bytes png(const Pixels& pixels) { return encodePicture(pixels, PictureType::Png); }

}  // namespace

std::vector<Bytes> buttonStates(ButtonSymbol symbol, int size, int states) {
  std::vector<Bytes> out;
  out.push_back(png(symbolPicture(symbol, size, 0xFF606266u, 0)));
  if (states >= 3) out.push_back(png(symbolPicture(symbol, size, 0xFFFFFFFFu, 0xFF3A8EE6u)));
  out.push_back(png(symbolPicture(symbol, size, 0xFFFFFFFFu, 0xFF2B73C2u)));
  return out;
}

Bytes popupBackground() {
  Pixels face = solid(188, 164, 0xFFFFFFFFu);
  for (int y = 0; y < 164; ++y)
    for (int x = 0; x < 188; ++x) {
      uint32_t& p = face.argb[static_cast<size_t>(y * 188 + x)];
      if (y < 30) p = 0xFFDDEEFFu;
      if (y == 30) p = 0xFFC6DDF5u;
      if (x == 0 || y == 0 || x == 187 || y == 163) p = 0xFF3A8EE6u;
    }
  return png(face);
}

std::vector<Bytes> closeButtonStates() {
  return {png(cross(30, 0xFF8A8F99u, 0x00000000u)), png(cross(30, 0xFFFFFFFFu, 0xFFE81123u)),
          png(cross(30, 0xFFFFFFFFu, 0xFF9E0B17u))};
}

std::vector<Bytes> listSkin() {
  std::vector<Bytes> skin(kExuiListImageCount);
  auto rounded = [](int w, int h, uint32_t colour) {
    return png(glyph(w, h, colour, 0x00000000u, [w, h](HDC dc) { ::RoundRect(dc, 0, 0, w + 1, h + 1, 8, 8); }));
  };
  skin[kExuiListImageItem] = png(solid(45, 25, 0x00FFFFFFu));
  skin[kExuiListImageItemHot] = rounded(45, 25, 0xFFE3F0FDu);
  skin[kExuiListImageThumb] = rounded(10, 34, 0xFFB9C3D0u);
  skin[kExuiListImageThumbPressed] = rounded(10, 34, 0xFF7F8FA4u);
  const uint32_t arrowInk[3] = {0xFF9AA4B2u, 0xFF5B6B80u, 0xFF3A8EE6u};
  for (int state = 0; state < 3; ++state) {
    skin[static_cast<size_t>(kExuiListImageUp + state)] = png(
        glyph(10, 9, arrowInk[state], 0x00000000u, [](HDC dc) { polygon(dc, {{1, 7}, {9, 7}, {5, 2}}); }));
    skin[static_cast<size_t>(kExuiListImageDown + state)] = png(
        glyph(10, 9, arrowInk[state], 0x00000000u, [](HDC dc) { polygon(dc, {{1, 2}, {9, 2}, {5, 7}}); }));
  }
  skin[kExuiListImageMark] = png(solid(22, 22, 0xFF3A8EE6u));
  return skin;
}

Bytes menuIcon(uint32_t colour, int shape) {
  return png(glyph(16, 16, colour, 0x00000000u, [shape](HDC dc) {
    switch (shape % 4) {
      case 0: ::Ellipse(dc, 2, 2, 15, 15); break;                       // settings: a disc
      case 1: box(dc, 7, 2, 10, 15); box(dc, 2, 7, 15, 10); break;     // add: a plus
      case 2: box(dc, 3, 3, 13, 14); break;                             // delete: a square
      default: polygon(dc, {{3, 3}, {13, 8}, {3, 13}}); break;          // exit: an arrow
    }
  }));
}

Bytes thumbnail(int width, int height, int seed) {
  static const uint32_t colours[][2] = {{0xFF2E86DEu, 0xFF54A0FFu}, {0xFF10AC84u, 0xFF1DD1A1u},
                                        {0xFFEE5253u, 0xFFFF9F43u}, {0xFF5F27CDu, 0xFF9B59B6u},
                                        {0xFF222F3Eu, 0xFF576574u}};
  const auto& pair = colours[seed % 5];
  return encodePicture(gradient(width, height, pair[0], pair[1]), seed % 2 ? PictureType::Jpeg : PictureType::Png);
}

}  // namespace qova::test
