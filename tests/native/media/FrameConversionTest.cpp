// Decoded frames in every layout the decoders hand out, with padding, odd
// sizes, crops and buffers that lie about their size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "outside/media/FrameConversion.h"

namespace qova::media {
namespace {

constexpr uint8_t kPadding = 0xEE;
constexpr uint8_t kLowBits = 0xC0;

// Sample values of a test picture: luma per pixel, chroma per 2x2 block.
struct Samples {
  std::function<int(int x, int y)> luma = [](int x, int y) { return 40 + 17 * x + 29 * y; };
  std::function<int(int cx, int cy)> u = [](int cx, int cy) { return 90 + 31 * cx + 7 * cy; };
  std::function<int(int cx, int cy)> v = [](int cx, int cy) { return 200 - 23 * cx - 11 * cy; };
};

uint8_t byte(int value) { return static_cast<uint8_t>(value & 0xff); }

// Packs the samples into a frame buffer of the layout, padding bytes set to kPadding.
std::vector<uint8_t> packFrame(const FrameLayout& f, const Samples& s) {
  std::vector<uint8_t> data(frameBytes(f), kPadding);
  const size_t stride = static_cast<size_t>(std::abs(f.stride));
  const size_t lumaBytes = stride * f.height;
  const int chromaWidth = (f.width + 1) / 2, chromaHeight = (f.height + 1) / 2;
  const size_t chromaStride = (stride + 1) / 2;
  for (int y = 0; y < f.height; ++y) {
    for (int x = 0; x < f.width; ++x) {
      uint8_t* row = data.data() + y * stride;
      switch (f.layout) {
        case PixelLayout::Yuy2:
          row[(x / 2) * 4 + (x & 1) * 2] = byte(s.luma(x, y));
          row[(x / 2) * 4 + 1] = byte(s.u(x / 2, y / 2));
          row[(x / 2) * 4 + 3] = byte(s.v(x / 2, y / 2));
          break;
        case PixelLayout::Uyvy:
          row[(x / 2) * 4 + 1 + (x & 1) * 2] = byte(s.luma(x, y));
          row[(x / 2) * 4] = byte(s.u(x / 2, y / 2));
          row[(x / 2) * 4 + 2] = byte(s.v(x / 2, y / 2));
          break;
        case PixelLayout::P010:
          // The sample in the top byte; the two low bits of 10 below it.
          row[x * 2] = kLowBits;
          row[x * 2 + 1] = byte(s.luma(x, y));
          break;
        default:
          row[x] = byte(s.luma(x, y));
      }
    }
  }
  for (int cy = 0; cy < chromaHeight; ++cy) {
    for (int cx = 0; cx < chromaWidth; ++cx) {
      const uint8_t u = byte(s.u(cx, cy)), v = byte(s.v(cx, cy));
      switch (f.layout) {
        case PixelLayout::Nv12:
          data[lumaBytes + cy * stride + cx * 2] = u;
          data[lumaBytes + cy * stride + cx * 2 + 1] = v;
          break;
        case PixelLayout::P010: {
          uint8_t* pair = data.data() + lumaBytes + cy * stride + cx * 4;
          pair[0] = kLowBits, pair[1] = u, pair[2] = kLowBits, pair[3] = v;
          break;
        }
        case PixelLayout::I420:
        case PixelLayout::Yv12: {
          const size_t plane = chromaStride * chromaHeight;
          const bool uFirst = f.layout == PixelLayout::I420;
          data[lumaBytes + (uFirst ? 0 : plane) + cy * chromaStride + cx] = u;
          data[lumaBytes + (uFirst ? plane : 0) + cy * chromaStride + cx] = v;
          break;
        }
        default:
          break;
      }
    }
  }
  return data;
}

FrameLayout layoutOf(PixelLayout layout, int width, int height, int extraStride = 0) {
  FrameLayout f;
  f.layout = layout;
  f.width = width;
  f.height = height;
  f.stride = minimumStride(layout, width) + extraStride;
  return f;
}

RgbImage convert(const FrameLayout& f, const std::vector<uint8_t>& data) {
  return convertFrame(data.data(), data.size(), f, wholeFrame(f));
}

// The crop as BGRX rows through convertFrameToBgrx, turned back into BGR
// triples so that it compares with convertFrame; empty when it refused, and
// empty too when an X byte is not 0 or a byte past the rows was touched.
RgbImage convertThroughBgrx(const FrameLayout& f, const std::vector<uint8_t>& data, CropArea crop) {
  const size_t stride = static_cast<size_t>(crop.width) * 4 + 8;
  std::vector<uint8_t> rows(stride * static_cast<size_t>(std::max(crop.height, 0)), kPadding);
  if (!convertFrameToBgrx(data.data(), data.size(), f, crop, rows.data(), stride)) return {};
  RgbImage image(crop.width, crop.height);
  for (int y = 0; y < crop.height; ++y) {
    const uint8_t* row = rows.data() + static_cast<size_t>(y) * stride;
    for (int x = 0; x < crop.width; ++x) {
      if (row[x * 4 + 3] != 0) return {};
      std::copy(row + x * 4, row + x * 4 + 3, image.at(x, y));
    }
    for (size_t pad = static_cast<size_t>(crop.width) * 4; pad < stride; ++pad)
      if (row[pad] != kPadding) return {};
  }
  return image;
}

RgbImage uniformFrame(PixelLayout layout, int y, int u, int v, YuvMatrix matrix = YuvMatrix::Bt601,
                      bool fullRange = false) {
  FrameLayout f = layoutOf(layout, 4, 2);
  f.matrix = matrix;
  f.fullRange = fullRange;
  Samples s;
  s.luma = [y](int, int) { return y; };
  s.u = [u](int, int) { return u; };
  s.v = [v](int, int) { return v; };
  return convert(f, packFrame(f, s));
}

void expectColour(const RgbImage& image, int red, int green, int blue, const char* what) {
  ASSERT_FALSE(image.empty()) << what;
  const uint8_t* p = image.at(image.width - 1, image.height - 1);
  EXPECT_NEAR(p[2], red, 2) << what;
  EXPECT_NEAR(p[1], green, 2) << what;
  EXPECT_NEAR(p[0], blue, 2) << what;
}

TEST(FrameConversion, KnownColoursInLimitedAndFullRange) {
  expectColour(uniformFrame(PixelLayout::Nv12, 16, 128, 128), 0, 0, 0, "limited black");
  expectColour(uniformFrame(PixelLayout::Nv12, 235, 128, 128), 255, 255, 255, "limited white");
  expectColour(uniformFrame(PixelLayout::Nv12, 81, 90, 240), 255, 0, 0, "BT.601 red");
  expectColour(uniformFrame(PixelLayout::Nv12, 145, 54, 34), 0, 255, 0, "BT.601 green");
  expectColour(uniformFrame(PixelLayout::Nv12, 63, 102, 240, YuvMatrix::Bt709), 255, 0, 0, "BT.709 red");
  expectColour(uniformFrame(PixelLayout::Nv12, 74, 97, 240, YuvMatrix::Bt2020), 255, 0, 0, "BT.2020 red");
  expectColour(uniformFrame(PixelLayout::Nv12, 54, 99, 255, YuvMatrix::Bt709, true), 255, 0, 0, "full-range BT.709 red");
  expectColour(uniformFrame(PixelLayout::Nv12, 128, 128, 128, YuvMatrix::Bt601, true), 128, 128, 128,
               "full-range grey keeps its level");
  expectColour(uniformFrame(PixelLayout::P010, 63, 102, 240, YuvMatrix::Bt709), 255, 0, 0, "10-bit BT.709 red");
  expectColour(uniformFrame(PixelLayout::Nv12, 255, 128, 128, YuvMatrix::Bt601, true), 255, 255, 255, "full white");
  expectColour(uniformFrame(PixelLayout::Nv12, 0, 128, 128, YuvMatrix::Bt601, true), 0, 0, 0, "full black");
  expectColour(uniformFrame(PixelLayout::Nv12, 0, 128, 128), 0, 0, 0, "luma below the range clamps");
  expectColour(uniformFrame(PixelLayout::Nv12, 255, 128, 128), 255, 255, 255, "luma above the range clamps");
}

TEST(FrameConversion, EveryYuvLayoutGivesTheSamePictureWhateverTheSizeAndPadding) {
  const Samples samples;
  for (auto [width, height] : {std::pair{6, 4}, std::pair{5, 3}, std::pair{1, 1}, std::pair{7, 2}}) {
    const FrameLayout reference = layoutOf(PixelLayout::Nv12, width, height);
    const RgbImage expected = convert(reference, packFrame(reference, samples));
    ASSERT_EQ(expected.width, width);
    ASSERT_EQ(expected.height, height);
    for (PixelLayout layout : {PixelLayout::Nv12, PixelLayout::I420, PixelLayout::Yv12, PixelLayout::Yuy2,
                               PixelLayout::Uyvy, PixelLayout::P010}) {
      for (int extra : {0, 2, 10}) {
        const FrameLayout f = layoutOf(layout, width, height, extra);
        const std::vector<uint8_t> data = packFrame(f, samples);
        EXPECT_EQ(convert(f, data).pixels, expected.pixels)
            << "layout " << static_cast<int>(layout) << " size " << width << "x" << height << " extra " << extra;
        EXPECT_EQ(convertThroughBgrx(f, data, wholeFrame(f)).pixels, expected.pixels)
            << "as BGRX: layout " << static_cast<int>(layout) << " size " << width << "x" << height;
      }
    }
  }
}

TEST(FrameConversion, LumaAndChromaLandOnTheRightPixels) {
  // One bright pixel and one red 2x2 block in an otherwise grey I420 frame.
  FrameLayout f = layoutOf(PixelLayout::I420, 6, 4, 2);
  Samples s;
  s.luma = [](int x, int y) { return x == 5 && y == 0 ? 235 : 126; };
  s.u = [](int cx, int cy) { return cx == 1 && cy == 1 ? 90 : 128; };
  s.v = [](int cx, int cy) { return cx == 1 && cy == 1 ? 240 : 128; };
  const RgbImage image = convert(f, packFrame(f, s));
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(image.at(5, 0)[1], 255);
  EXPECT_NEAR(image.at(4, 0)[1], 128, 2);
  EXPECT_GT(image.at(2, 2)[2], 200) << "red block";
  EXPECT_GT(image.at(3, 3)[2], 200);
  EXPECT_NEAR(image.at(1, 2)[2], 128, 2) << "grey beside it";
}

TEST(FrameConversion, Bgrx32TopDownAndBottomUp) {
  FrameLayout f = layoutOf(PixelLayout::Bgrx32, 2, 2, 8);
  std::vector<uint8_t> data(frameBytes(f), kPadding);
  auto put = [&](int storedRow, int x, uint8_t b, uint8_t g, uint8_t r) {
    uint8_t* p = data.data() + storedRow * f.stride + x * 4;
    p[0] = b, p[1] = g, p[2] = r, p[3] = 0;
  };
  put(0, 0, 1, 2, 3);
  put(0, 1, 4, 5, 6);
  put(1, 0, 7, 8, 9);
  put(1, 1, 10, 11, 12);
  const RgbImage topDown = convert(f, data);
  ASSERT_FALSE(topDown.empty());
  EXPECT_EQ(std::vector<uint8_t>(topDown.pixels.begin(), topDown.pixels.end()),
            (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  f.stride = -f.stride;
  const RgbImage bottomUp = convert(f, data);
  EXPECT_EQ(bottomUp.pixels, (std::vector<uint8_t>{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(convertThroughBgrx(f, data, wholeFrame(f)).pixels, bottomUp.pixels);
}

TEST(FrameConversion, CropTakesTheVisiblePartOfAPaddedFrame) {
  // A 1080-line picture decoded into 1088 lines, as H.264 decoders do, shrunk here.
  const FrameLayout f = layoutOf(PixelLayout::Nv12, 8, 6, 4);
  const Samples samples;
  const std::vector<uint8_t> data = packFrame(f, samples);
  const RgbImage whole = convert(f, data);
  const RgbImage cropped = convertFrame(data.data(), data.size(), f, {2, 2, 5, 3});
  ASSERT_EQ(cropped.width, 5);
  ASSERT_EQ(cropped.height, 3);
  EXPECT_EQ(convertThroughBgrx(f, data, {2, 2, 5, 3}).pixels, cropped.pixels);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(std::vector<uint8_t>(cropped.at(x, y), cropped.at(x, y) + 3),
                std::vector<uint8_t>(whole.at(x + 2, y + 2), whole.at(x + 2, y + 2) + 3));
}

TEST(FrameConversion, ImpossibleLayoutsShortBuffersAndBadCropsGiveNothing) {
  const FrameLayout f = layoutOf(PixelLayout::Nv12, 6, 4);
  const std::vector<uint8_t> data = packFrame(f, Samples{});
  EXPECT_EQ(data.size(), 36u) << "6x4 luma and 6x2 interleaved chroma";
  EXPECT_TRUE(convertFrame(data.data(), data.size() - 1, f, wholeFrame(f)).empty());
  EXPECT_TRUE(convertFrame(nullptr, data.size(), f, wholeFrame(f)).empty());
  EXPECT_TRUE(convertFrame(data.data(), data.size(), f, {0, 0, 7, 4}).empty());
  EXPECT_TRUE(convertFrame(data.data(), data.size(), f, {-1, 0, 2, 2}).empty());
  EXPECT_TRUE(convertFrame(data.data(), data.size(), f, {5, 3, 2, 2}).empty());
  EXPECT_TRUE(convertFrame(data.data(), data.size(), f, {0, 0, 0, 4}).empty());
  std::vector<uint8_t> rows(6 * 4 * 4);
  EXPECT_FALSE(convertFrameToBgrx(data.data(), data.size() - 1, f, wholeFrame(f), rows.data(), 24));
  EXPECT_FALSE(convertFrameToBgrx(data.data(), data.size(), f, {5, 3, 2, 2}, rows.data(), 24));
  EXPECT_FALSE(convertFrameToBgrx(data.data(), data.size(), f, wholeFrame(f), rows.data(), 23))
      << "rows shorter than the picture";

  FrameLayout narrow = f;
  narrow.stride = 5;
  EXPECT_EQ(frameBytes(narrow), 0u) << "a row shorter than its pixels";
  FrameLayout upsideDownYuv = f;
  upsideDownYuv.stride = -6;
  EXPECT_EQ(frameBytes(upsideDownYuv), 0u);
  FrameLayout empty = f;
  empty.height = 0;
  EXPECT_EQ(frameBytes(empty), 0u);
  FrameLayout huge = layoutOf(PixelLayout::Bgrx32, 1 << 20, 1 << 20);
  EXPECT_EQ(frameBytes(huge), 0u);
}

// What the player engine hands from decoding to showing: the planes of any
// layout, packed, show the same picture as the frame converted directly.
TEST(FrameConversion, EveryLayoutCopiedAsPlanesShowsTheSamePicture) {
  const Samples samples;
  for (PixelLayout layout : {PixelLayout::Nv12, PixelLayout::I420, PixelLayout::Yv12, PixelLayout::Yuy2,
                             PixelLayout::Uyvy, PixelLayout::P010}) {
    for (const CropArea crop : {CropArea{0, 0, 8, 6}, CropArea{2, 2, 5, 3}, CropArea{0, 0, 7, 5}}) {
      const FrameLayout f = layoutOf(layout, 8, 6, 6);
      const std::vector<uint8_t> data = packFrame(f, samples);
      const RgbImage expected = convertFrame(data.data(), data.size(), f, crop);
      const PictureFormat picture{planeFormatFor(layout), crop.width, crop.height, f.matrix, f.fullRange};
      std::vector<uint8_t> planes(pictureBytes(picture) + 4, kPadding);
      ASSERT_TRUE(copyFrameAsPlanes(data.data(), data.size(), f, crop, picture, planes.data(), planes.size() - 4))
          << "layout " << static_cast<int>(layout);
      EXPECT_EQ(std::vector<uint8_t>(planes.end() - 4, planes.end()), std::vector<uint8_t>(4, kPadding))
          << "nothing written past the planes";
      const FrameLayout packed = planeLayout(picture);
      EXPECT_EQ(convert(packed, planes).pixels, expected.pixels)
          << "layout " << static_cast<int>(layout) << " crop " << crop.x << "," << crop.y << " " << crop.width << "x"
          << crop.height;
    }
  }
  const FrameLayout bgrx = layoutOf(PixelLayout::Bgrx32, 4, 2);
  std::vector<uint8_t> pixels(frameBytes(bgrx), 9);
  const PictureFormat rgb{PlaneFormat::Bgrx, 4, 2};
  std::vector<uint8_t> copied(pictureBytes(rgb));
  ASSERT_TRUE(copyFrameAsPlanes(pixels.data(), pixels.size(), bgrx, wholeFrame(bgrx), rgb, copied.data(),
                                copied.size()));
  EXPECT_EQ(copied[4], 9);
  EXPECT_EQ(copied[3], 0) << "the X bytes are 0";

  const FrameLayout nv12 = layoutOf(PixelLayout::Nv12, 8, 6);
  const std::vector<uint8_t> data = packFrame(nv12, samples);
  const PictureFormat whole{PlaneFormat::Nv12, 8, 6};
  std::vector<uint8_t> target(pictureBytes(whole));
  EXPECT_FALSE(copyFrameAsPlanes(data.data(), data.size(), nv12, wholeFrame(nv12), whole, target.data(),
                                 target.size() - 1))
      << "short target";
  EXPECT_FALSE(copyFrameAsPlanes(data.data(), data.size() - 1, nv12, wholeFrame(nv12), whole, target.data(),
                                 target.size()))
      << "short frame";
  EXPECT_FALSE(copyFrameAsPlanes(data.data(), data.size(), nv12, wholeFrame(nv12), PictureFormat{PlaneFormat::P010, 8, 6},
                                 target.data(), target.size()))
      << "planes of another depth";
  EXPECT_FALSE(copyFrameAsPlanes(data.data(), data.size(), nv12, {0, 0, 4, 4}, whole, target.data(), target.size()))
      << "a picture of another size than the crop";
}

TEST(FrameConversion, MinimumStrides) {
  EXPECT_EQ(minimumStride(PixelLayout::Nv12, 5), 6);
  EXPECT_EQ(minimumStride(PixelLayout::I420, 5), 5);
  EXPECT_EQ(minimumStride(PixelLayout::Yuy2, 5), 12);
  EXPECT_EQ(minimumStride(PixelLayout::Bgrx32, 5), 20);
  EXPECT_EQ(minimumStride(PixelLayout::Nv12, 0), 0);
  EXPECT_EQ(minimumStride(PixelLayout::P010, 5), 12);
}

}  // namespace
}  // namespace qova::media
