// Thumbnail sizes, resampling, frame choice and the placeholder pictures.
#include <gtest/gtest.h>

#include <cstdlib>

#include "outside/screenshot/FrameChoice.h"
#include "outside/screenshot/ImageScaling.h"
#include "outside/screenshot/Placeholder.h"

namespace qova::screenshot {
namespace {

media::RgbImage filled(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
  media::RgbImage image(width, height);
  for (size_t i = 0; i < image.pixels.size(); i += 3) {
    image.pixels[i] = b;
    image.pixels[i + 1] = g;
    image.pixels[i + 2] = r;
  }
  return image;
}

void paint(media::RgbImage& image, int left, int top, int right, int bottom, uint8_t grey) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      uint8_t* p = image.at(x, y);
      p[0] = p[1] = p[2] = grey;
    }
}

TEST(HeightForWidth, KeepsTheDisplayAspect) {
  EXPECT_EQ(heightForWidth(256, 320, 240), 192);
  EXPECT_EQ(heightForWidth(256, 320, 120), 96);
  EXPECT_EQ(heightForWidth(256, 1920, 1080), 144);
  EXPECT_EQ(heightForWidth(256, 1080, 1920), 455) << "portrait";
  EXPECT_EQ(heightForWidth(256, 720, 480, 32, 27), 144) << "anamorphic 16:9 in 720x480";
  EXPECT_EQ(heightForWidth(256, 720, 480, 0, 1), 171) << "unknown pixel aspect: square";
  EXPECT_EQ(heightForWidth(256, 100000, 1), 1);
  EXPECT_EQ(heightForWidth(256, 1, 100000), 1024);
  EXPECT_EQ(heightForWidth(256, 0, 240), 0);
  EXPECT_EQ(heightForWidth(0, 320, 240), 0);
}

TEST(ResizeImage, UniformStaysUniformAtAnySize) {
  const media::RgbImage source = filled(97, 55, 10, 120, 240);
  for (auto [w, h] : {std::pair{256, 145}, std::pair{13, 7}, std::pair{97, 55}, std::pair{1, 1}}) {
    const media::RgbImage result = resizeImage(source, w, h);
    ASSERT_EQ(result.width, w);
    ASSERT_EQ(result.height, h);
    EXPECT_EQ(result.pixels, filled(w, h, 10, 120, 240).pixels) << w << "x" << h;
  }
}

TEST(ResizeImage, ShrinkingAveragesFineDetailInsteadOfPickingPixels) {
  media::RgbImage checker(512, 384);
  for (int y = 0; y < 384; ++y)
    for (int x = 0; x < 512; ++x) paint(checker, x, y, x + 1, y + 1, ((x + y) & 1) ? 255 : 0);
  const media::RgbImage result = resizeImage(checker, 256, 192);
  // The edge rows and columns lean towards the edge pixels, which the filter repeats beyond the edge.
  for (int y = 1; y < 191; ++y)
    for (int x = 1; x < 255; ++x) ASSERT_NEAR(result.at(x, y)[0], 128, 1) << x << "," << y;
}

TEST(ResizeImage, EnlargingInterpolatesBetweenPixels) {
  media::RgbImage source = filled(2, 1, 0, 0, 0);
  paint(source, 1, 0, 2, 1, 255);
  const media::RgbImage result = resizeImage(source, 256, 1);
  EXPECT_EQ(result.at(0, 0)[0], 0);
  EXPECT_EQ(result.at(255, 0)[0], 255);
  for (int x = 1; x < 256; ++x) ASSERT_GE(result.at(x, 0)[0], result.at(x - 1, 0)[0]) << x;
  EXPECT_NEAR(result.at(128, 0)[0], 128, 3);
}

TEST(ResizeImage, EmptyInOrOut) {
  EXPECT_TRUE(resizeImage(media::RgbImage{}, 10, 10).empty());
  EXPECT_TRUE(resizeImage(filled(2, 2, 0, 0, 0), 0, 10).empty());
}

TEST(FrameBrightness, BlackNearBlackAndAFewBrightPixels) {
  media::RgbImage frame = filled(100, 100, 0, 0, 0);
  EXPECT_TRUE(looksBlack(measureBrightness(frame)));
  paint(frame, 0, 0, 100, 100, 30);
  EXPECT_TRUE(looksBlack(measureBrightness(frame))) << "very dark grey";
  paint(frame, 0, 0, 10, 5, 255);  // 0.5% of the picture
  EXPECT_TRUE(looksBlack(measureBrightness(frame)));
  paint(frame, 0, 0, 10, 20, 255);  // 2%
  EXPECT_FALSE(looksBlack(measureBrightness(frame))) << "a title on black is a picture";
  EXPECT_FALSE(looksBlack(measureBrightness(filled(4, 4, 0, 0, 200)))) << "pure red";
  EXPECT_TRUE(looksBlack(measureBrightness(media::RgbImage{})));
}

TEST(FramePositions, ATenthFirstThenLaterOnesAndTheStartForShortOrUnknownClips) {
  EXPECT_EQ(framePositions(0), std::vector<int64_t>{0});
  EXPECT_EQ(framePositions(-5), std::vector<int64_t>{0});
  EXPECT_EQ(framePositions(kTicksPerSecond / 2), (std::vector<int64_t>{0, kTicksPerSecond / 4}));
  const std::vector<int64_t> positions = framePositions(60 * kTicksPerSecond);
  ASSERT_GE(positions.size(), 4u);
  EXPECT_EQ(positions.front(), 6 * kTicksPerSecond);
  for (size_t i = 1; i < positions.size(); ++i) EXPECT_GT(positions[i], positions[i - 1]);
  EXPECT_LT(positions.back(), 60 * kTicksPerSecond);
}

TEST(FramePicker, PassesOverBlackAndFallsBackToTheBrightestDarkFrame) {
  FramePicker picker;
  EXPECT_FALSE(picker.hasFrame());
  EXPECT_FALSE(picker.offer(filled(8, 8, 0, 0, 0)));
  EXPECT_FALSE(picker.offer(filled(8, 8, 20, 20, 20)));
  EXPECT_FALSE(picker.offer(filled(8, 8, 5, 5, 5)));
  ASSERT_TRUE(picker.hasFrame());
  EXPECT_EQ(picker.best().pixels[0], 20) << "the brightest of the dark frames";
  EXPECT_FALSE(picker.offer(media::RgbImage{}));
  EXPECT_TRUE(picker.offer(filled(8, 8, 0, 200, 0)));
  EXPECT_TRUE(picker.satisfied());
  EXPECT_TRUE(picker.offer(filled(8, 8, 0, 0, 250))) << "nothing replaces the first good frame";
  EXPECT_EQ(picker.takeBest().pixels[1], 200);
}

// Share of the box's pixels that are light grey or brighter.
double lightShareIn(const media::RgbImage& image, int left, int top, int right, int bottom) {
  int light = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) light += image.at(x, y)[1] > 150 ? 1 : 0;
  return light / double((right - left) * (bottom - top));
}

TEST(Placeholder, ALightSymbolInTheMiddleOfADarkTile) {
  for (PlaceholderKind kind : {PlaceholderKind::Audio, PlaceholderKind::Video}) {
    const media::RgbImage image = drawPlaceholder(kind);
    ASSERT_EQ(image.width, kPlaceholderWidth);
    ASSERT_EQ(image.height, kPlaceholderHeight);
    EXPECT_EQ(lightShareIn(image, 0, 0, 40, 144), 0.0) << "left edge is tile";
    EXPECT_EQ(lightShareIn(image, 216, 0, 256, 144), 0.0) << "right edge is tile";
    EXPECT_GT(lightShareIn(image, 64, 16, 192, 128), 0.08) << "the symbol";
    EXPECT_FALSE(looksBlack(measureBrightness(image)));
  }
  EXPECT_NE(drawPlaceholder(PlaceholderKind::Audio).pixels, drawPlaceholder(PlaceholderKind::Video).pixels);
  EXPECT_EQ(drawPlaceholder(PlaceholderKind::Audio).pixels, drawPlaceholder(PlaceholderKind::Audio).pixels);
}

}  // namespace
}  // namespace qova::screenshot
