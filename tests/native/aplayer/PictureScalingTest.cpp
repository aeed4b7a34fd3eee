// How the engine's two paths turn a picture into what the screen shows: the
// GDI path's bilinear scaling, and the colour map the graphics card's shader applies.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "outside/aplayer/BilinearScaling.h"
#include "outside/aplayer/PresentationPath.h"
#include "outside/aplayer/YuvToRgb.h"

namespace qova::aplayer {
namespace {

// A grey picture whose level is `level(x, y)`, as BGRX.
std::vector<uint8_t> greyPicture(int width, int height, int (*level)(int x, int y)) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) pixels[(static_cast<size_t>(y) * width + x) * 4 + c] = static_cast<uint8_t>(level(x, y));
  return pixels;
}

std::vector<int> greenRow(const std::vector<uint8_t>& pixels, int width, int row) {
  std::vector<int> levels;
  for (int x = 0; x < width; ++x) levels.push_back(pixels[(static_cast<size_t>(row) * width + x) * 4 + 1]);
  return levels;
}

TEST(BilinearScaling, EnlargingBlendsNeighboursInsteadOfDoublingThem) {
  // Columns alternately black and white: doubled pixels would give 0 0 255 255 ...
  const std::vector<uint8_t> stripes = greyPicture(4, 2, [](int x, int) { return x % 2 ? 255 : 0; });
  std::vector<uint8_t> out(8 * 4 * 4, 0xAA);
  ASSERT_TRUE(scaleBilinear({stripes.data(), 4, 2, 16}, {0, 0, 4, 2}, out.data(), 8, 4, 32));
  EXPECT_EQ(greenRow(out, 8, 1), (std::vector<int>{0, 64, 191, 191, 64, 64, 191, 255}));
  EXPECT_EQ(out[3], 0) << "the X bytes are 0";
}

TEST(BilinearScaling, TheSameSizeCopiesAndAnAreaScalesOnlyItself) {
  const std::vector<uint8_t> ramp = greyPicture(6, 3, [](int x, int y) { return 10 * x + 70 * y; });
  std::vector<uint8_t> same(6 * 3 * 4);
  ASSERT_TRUE(scaleBilinear({ramp.data(), 6, 3, 24}, {0, 0, 6, 3}, same.data(), 6, 3, 24));
  EXPECT_EQ(same, ramp);
  std::vector<uint8_t> part(2 * 1 * 4);
  ASSERT_TRUE(scaleBilinear({ramp.data(), 6, 3, 24}, {2, 1, 2, 1}, part.data(), 2, 1, 8));
  EXPECT_EQ(greenRow(part, 2, 0), (std::vector<int>{90, 100}));
  std::vector<uint8_t> shrunk(3 * 1 * 4);
  ASSERT_TRUE(scaleBilinear({ramp.data(), 6, 3, 24}, {0, 0, 6, 3}, shrunk.data(), 3, 1, 12));
  EXPECT_EQ(greenRow(shrunk, 3, 0), (std::vector<int>{75, 95, 115})) << "halfway between each pair";
}

TEST(BilinearScaling, EmptySidesDrawNothing) {
  const std::vector<uint8_t> one = greyPicture(1, 1, [](int, int) { return 7; });
  std::vector<uint8_t> out(16, 0xAA);
  EXPECT_FALSE(scaleBilinear({nullptr, 1, 1, 4}, {0, 0, 1, 1}, out.data(), 2, 2, 8));
  EXPECT_FALSE(scaleBilinear({one.data(), 1, 1, 4}, {0, 0, 1, 1}, out.data(), 0, 2, 8));
  EXPECT_FALSE(scaleBilinear({one.data(), 1, 1, 4}, {0, 0, 0, 1}, out.data(), 2, 2, 8));
  EXPECT_FALSE(scaleBilinear({one.data(), 1, 1, 4}, {0, 0, 1, 1}, out.data(), 2, 2, 7)) << "rows too short";
  EXPECT_EQ(out, std::vector<uint8_t>(16, 0xAA));
  ASSERT_TRUE(scaleBilinear({one.data(), 1, 1, 4}, {0, 0, 1, 1}, out.data(), 2, 2, 8));
  EXPECT_EQ(greenRow(out, 2, 1), (std::vector<int>{7, 7}));
}

// The shader's map, evaluated here as the card does, on samples of known colours.
std::array<int, 3> rgbOf(media::YuvMatrix matrix, bool fullRange, int y, int u, int v) {
  const YuvToRgbRows rows = yuvToRgbRows(matrix, fullRange);
  std::array<int, 3> rgb{};
  for (int c = 0; c < 3; ++c) {
    const double value = double{rows[c][0]} * y / 255.0 + double{rows[c][1]} * u / 255.0 +
                         double{rows[c][2]} * v / 255.0 + double{rows[c][3]};
    rgb[c] = static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
  }
  return rgb;
}

void expectNear(std::array<int, 3> got, std::array<int, 3> wanted, const char* what) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], wanted[c], 2) << what << " channel " << c;
}

TEST(YuvToRgb, KnownColoursForEachMatrixAndRange) {
  using media::YuvMatrix;
  expectNear(rgbOf(media::YuvMatrix::Bt601, false, 16, 128, 128), {0, 0, 0}, "limited black");
  expectNear(rgbOf(media::YuvMatrix::Bt601, false, 235, 128, 128), {255, 255, 255}, "limited white");
  expectNear(rgbOf(media::YuvMatrix::Bt601, false, 81, 90, 240), {255, 0, 0}, "BT.601 red");
  expectNear(rgbOf(media::YuvMatrix::Bt709, false, 63, 102, 240), {255, 0, 0}, "BT.709 red");
  expectNear(rgbOf(media::YuvMatrix::Bt709, false, 173, 42, 26), {0, 255, 0}, "BT.709 green");
  expectNear(rgbOf(media::YuvMatrix::Bt2020, false, 74, 97, 240), {255, 0, 0}, "BT.2020 red");
  expectNear(rgbOf(media::YuvMatrix::Bt601, true, 128, 128, 128), {128, 128, 128}, "full-range grey");
  expectNear(rgbOf(media::YuvMatrix::Bt601, true, 0, 128, 128), {0, 0, 0}, "full-range black");
}

TEST(PresentationPath, SettingAndReportTexts) {
  EXPECT_EQ(parsePresentationChoice("1"), PresentationChoice::Gpu);
  EXPECT_EQ(parsePresentationChoice("2"), PresentationChoice::Gdi);
  EXPECT_EQ(parsePresentationChoice("0"), PresentationChoice::Auto);
  EXPECT_EQ(parsePresentationChoice("GPU"), PresentationChoice::Auto) << "unknown text";
  EXPECT_EQ(parsePresentationChoice(""), PresentationChoice::Auto);
  EXPECT_STREQ(presentationChoiceText(PresentationChoice::Gdi), "2");
  EXPECT_STREQ(presentationPathText(PresentationPath::GpuSoftware), "gpu-sw");
  EXPECT_STREQ(presentationPathText(PresentationPath::GpuHardware), "gpu-hw");
  EXPECT_STREQ(presentationPathText(PresentationPath::Gdi), "gdi");
}

}  // namespace
}  // namespace qova::aplayer
