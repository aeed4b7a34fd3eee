// Pictures through LoadImageEx: every format the program hands over decodes,
// and every kind of bad bytes gives an image that draws as nothing.
#include <algorithm>

#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/TestPictures.h"

namespace qova::test {
namespace {

intptr_t imageWidth(ExuiImage image) {
  return exui().callInternal(kExuiFunctionImageWidth, reinterpret_cast<intptr_t>(image), 0, 0, 0, 0, 0);
}
intptr_t imageHeight(ExuiImage image) {
  return exui().callInternal(kExuiFunctionImageHeight, reinterpret_cast<intptr_t>(image), 0, 0, 0, 0, 0);
}

// Draws the image onto a grey 64 x 64 bitmap; whether any pixel changed.
bool drawsSomething(ExuiImage image) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -64, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, dib);
  auto* pixels = static_cast<uint32_t*>(bits);
  std::fill(pixels, pixels + 64 * 64, 0x808080u);
  exui().callInternal(kExuiFunctionDrawImage, reinterpret_cast<intptr_t>(image), reinterpret_cast<intptr_t>(dc), 0,
                      0, 64, 64);
  ::GdiFlush();
  const bool changed = std::any_of(pixels, pixels + 64 * 64, [](uint32_t p) { return (p & 0xFFFFFF) != 0x808080u; });
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(dib);
  return changed;
}

class ImageTest : public ExuiTest {};

TEST_F(ImageTest, PngJpegBmpAndGifDecodeAtTheirSize) {
  const Pixels picture = gradient(40, 24, 0xFFFF0000u, 0xFF0000FFu);
  for (PictureType type : {PictureType::Png, PictureType::Jpeg, PictureType::Bmp, PictureType::Gif}) {
    const exui::Bytes bytes = encodePicture(picture, type);
    ASSERT_FALSE(bytes.empty()) << "test picture " << static_cast<int>(type);
    ExuiImage image = loadImage(bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageWidth(image), 40) << static_cast<int>(type);
    EXPECT_EQ(imageHeight(image), 24) << static_cast<int>(type);
    EXPECT_TRUE(drawsSomething(image)) << static_cast<int>(type);
    EXPECT_EQ(exui().destroyImage(image), 1);
  }
}

TEST_F(ImageTest, BadBytesOfEveryKindGiveAnImageThatDrawsAsNothing) {
  const exui::Bytes png = encodePicture(gradient(64, 64, 0xFF00FF00u, 0xFF000000u), PictureType::Png);
  const exui::Bytes jpeg = encodePicture(gradient(64, 64, 0xFF00FF00u, 0xFF000000u), PictureType::Jpeg);
  std::vector<exui::Bytes> bad = {
      {},
      exui::Bytes(png.begin(), png.begin() + 8),                                          // signature only
      exui::Bytes(png.begin(), png.begin() + static_cast<long>(png.size() / 2)),          // truncated PNG
      exui::Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 3)),       // truncated JPEG
      exui::Bytes(jpeg.begin(), jpeg.begin() + 4),
      {'G', 'I', 'F', '8', '9', 'a', 1, 0},
      {'B', 'M', 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0},
  };
  exui::Bytes noise(5000);
  uint32_t seed = 12345;
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
  bad.push_back(noise);
  exui::Bytes pngNoise = exui::Bytes(png.begin(), png.begin() + 33);
  pngNoise.insert(pngNoise.end(), noise.begin(), noise.end());
  bad.push_back(pngNoise);

  for (size_t i = 0; i < bad.size(); ++i) {
    ExuiImage image = loadImage(bad[i]);
    ASSERT_NE(image, nullptr) << "case " << i;
    EXPECT_FALSE(drawsSomething(image)) << "case " << i;
    EXPECT_EQ(exui().destroyImage(image), 1);
  }
  ExuiImage fromNull = exui().loadImage(nullptr);
  EXPECT_EQ(imageWidth(fromNull), 0);
  EXPECT_EQ(exui().destroyImage(fromNull), 1);
}

TEST_F(ImageTest, DestroyingTwiceOrSomethingElseIsRefused) {
  ExuiImage image = loadImage(encodePicture(solid(4, 4, 0xFFFFFFFFu), PictureType::Png));
  EXPECT_EQ(exui().destroyImage(image), 1);
  EXPECT_EQ(exui().destroyImage(image), 0);
  EXPECT_EQ(exui().destroyImage(nullptr), 0);
  int notAnImage = 0;
  EXPECT_EQ(exui().destroyImage(reinterpret_cast<ExuiImage>(&notAnImage)), 0);
  EXPECT_FALSE(drawsSomething(reinterpret_cast<ExuiImage>(&notAnImage)));
}

}  // namespace
}  // namespace qova::test
