// Scaling pictures, fitting them into boxes, nine-grid pieces and the
// anti-aliased shapes the controls are drawn with.
#include <gtest/gtest.h>

#include "outside/exui/NineGrid.h"
#include "outside/exui/PixelImage.h"
#include "outside/exui/Shapes.h"

namespace {

using namespace qova::exui;

PixelImage solid(int width, int height, uint32_t pixel) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), pixel)};
}

TEST(Resample, ASolidPictureStaysSolidWhenShrunkOrEnlarged) {
  for (auto [w, h] : {std::pair{7, 3}, std::pair{1, 1}, std::pair{40, 90}}) {
    const PixelImage out = resample(solid(13, 9, 0xFF336699u), w, h);
    ASSERT_EQ(out.width, w);
    ASSERT_EQ(out.pixels.size(), static_cast<size_t>(w * h));
    for (uint32_t p : out.pixels) EXPECT_EQ(p, 0xFF336699u);
  }
}

TEST(Resample, ShrinkingAveragesAndKeepsPremultipliedColourWithinAlpha) {
  PixelImage checker = solid(2, 2, 0xFFFFFFFFu);
  checker.pixels[1] = checker.pixels[2] = 0xFF000000u;
  const PixelImage one = resample(checker, 1, 1);
  EXPECT_NEAR(static_cast<int>(one.pixels[0] & 0xFF), 128, 1);

  PixelImage half = solid(4, 4, 0x80808080u);
  half.pixels[0] = 0;
  for (uint32_t p : resample(half, 3, 2).pixels) {
    const uint32_t alpha = p >> 24;
    EXPECT_LE(p & 0xFF, alpha);
    EXPECT_LE((p >> 16) & 0xFF, alpha);
  }
}

TEST(Resample, EmptyOrShortInputGivesAnEmptyPicture) {
  EXPECT_TRUE(resample(PixelImage{}, 10, 10).empty());
  EXPECT_TRUE(resample(solid(4, 4, 1), 0, 10).empty());
  PixelImage lying{100, 100, std::vector<uint32_t>(10)};
  EXPECT_TRUE(resample(lying, 10, 10).empty());
}

TEST(Premultiply, ScalesColourByAlpha) {
  std::vector<uint32_t> pixels{0x80FF0000u, 0xFF123456u, 0x00FFFFFFu};
  premultiply(pixels);
  EXPECT_EQ(pixels[0], 0x80800000u);
  EXPECT_EQ(pixels[1], 0xFF123456u);
  EXPECT_EQ(pixels[2], 0u);
}

TEST(Fit, KeepsTheAspectRatioCentred) {
  EXPECT_EQ(fitInside(1920, 1080, Box::sized(0, 0, 160, 100)), Box::sized(0, 5, 160, 90));
  EXPECT_EQ(fitInside(100, 400, Box::sized(10, 10, 160, 100)), Box::sized(77, 10, 25, 100));
  EXPECT_TRUE(fitInside(0, 10, Box::sized(0, 0, 10, 10)).empty());
  EXPECT_EQ(fitInsideNoLarger(16, 16, Box::sized(0, 0, 32, 32)), Box::sized(8, 8, 16, 16));
  EXPECT_EQ(fitInsideNoLarger(64, 32, Box::sized(0, 0, 32, 32)), Box::sized(0, 8, 32, 16));
}

TEST(NineGrid, CornersKeepTheirSizeAndEdgesStretch) {
  const auto pieces = nineGrid(45, 25, {5, 5, 5, 5}, Box::sized(100, 100, 200, 150));
  ASSERT_EQ(pieces.size(), 9u);
  EXPECT_EQ(pieces[0].source, (Box{0, 0, 5, 5}));
  EXPECT_EQ(pieces[0].target, (Box{100, 100, 105, 105}));
  EXPECT_EQ(pieces[4].source, (Box{5, 5, 40, 20}));
  EXPECT_EQ(pieces[4].target, (Box{105, 105, 295, 245}));
  EXPECT_EQ(pieces[8].target, (Box{295, 245, 300, 250}));
}

TEST(NineGrid, OversizedMarginsShrinkAndZeroMarginsStretchTheWhole) {
  const auto pieces = nineGrid(188, 164, {6, 34, 6, 6}, Box::sized(0, 0, 30, 20));
  for (const NinePiece& piece : pieces) {
    EXPECT_GE(piece.target.top, 0);
    EXPECT_LE(piece.target.bottom, 20);
  }
  const auto whole = nineGrid(10, 10, {}, Box::sized(0, 0, 50, 50));
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0].target, Box::sized(0, 0, 50, 50));
  EXPECT_TRUE(nineGrid(0, 10, {}, Box::sized(0, 0, 5, 5)).empty());
}

struct TestSurface {
  std::vector<uint32_t> pixels;
  Surface surface;
  TestSurface(int w, int h) : pixels(static_cast<size_t>(w * h), 0xFFFFFFFFu), surface{pixels.data(), w, h, w} {}
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * surface.stride + x)] & 0xFFFFFF; }
};

TEST(Shapes, FilledCircleCoversItsMiddleNotItsCornersAndSoftensTheEdge) {
  TestSurface canvas(20, 20);
  fillRounded(canvas.surface, {2, 2, 18, 18}, 8, 0xFF0000FFu);
  EXPECT_EQ(canvas.at(10, 10), 0x0000FFu);
  EXPECT_EQ(canvas.at(2, 2), 0xFFFFFFu);
  EXPECT_EQ(canvas.at(0, 10), 0xFFFFFFu);
  const uint32_t edge = canvas.at(4, 4);  // on the outline: partly covered
  EXPECT_NE(edge, 0xFFFFFFu);
  EXPECT_NE(edge, 0x0000FFu);
}

TEST(Shapes, StrokeLeavesTheInsideAndHalfTransparentBlends) {
  TestSurface canvas(20, 20);
  strokeRounded(canvas.surface, {0, 0, 20, 20}, 4, 1, 0xFF000000u);
  EXPECT_EQ(canvas.at(10, 0), 0x000000u);
  EXPECT_EQ(canvas.at(10, 10), 0xFFFFFFu);
  fillRounded(canvas.surface, {0, 0, 20, 20}, 0, 0x80000000u);
  EXPECT_NEAR(static_cast<int>(canvas.at(10, 10) & 0xFF), 127, 1);
}

TEST(Shapes, BlendedImagesCoverOpaqueMixHalfAndSkipClearPixelsClipped) {
  TestSurface canvas(4, 4);
  // Premultiplied: opaque red, half-transparent black (0x80000000), clear.
  const uint32_t image[] = {0xFFFF0000u, 0x80000000u, 0x00000000u, 0xFF00FF00u};
  blendImage(canvas.surface, 2, 2, image, 2, 2);
  EXPECT_EQ(canvas.at(2, 2), 0xFF0000u);
  EXPECT_NEAR(static_cast<int>(canvas.at(3, 2) & 0xFF), 127, 1);
  EXPECT_EQ(canvas.at(2, 3), 0xFFFFFFu);
  EXPECT_EQ(canvas.at(3, 3), 0x00FF00u);
  blendImage(canvas.surface, -1, -1, image, 2, 2);  // only its last pixel lands, at (0, 0)
  EXPECT_EQ(canvas.at(0, 0), 0x00FF00u);
  EXPECT_EQ(canvas.at(1, 0), 0xFFFFFFu);
  blendImage(canvas.surface, 0, 0, nullptr, 2, 2);
}

TEST(Shapes, DrawingOffTheSurfaceIsClipped) {
  TestSurface canvas(4, 4);
  fillRounded(canvas.surface, {-100, -100, 100, 100}, 3, 0xFF00FF00u);
  fillTriangle(canvas.surface, -5, -5, 50, 0, 0, 50, 0xFFFF0000u);
  strokeLine(canvas.surface, -10, 2, 10, 2, 2, 0xFF0000FFu);
  EXPECT_EQ(canvas.at(1, 2), 0x0000FFu);
}

}  // namespace
