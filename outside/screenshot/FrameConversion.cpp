#include "outside/screenshot/FrameConversion.h"

#include <algorithm>
#include <cstdlib>

namespace qova::screenshot {
namespace {

// Fixed-point (16 fractional bits) factors from Y, U, V to R, G, B, with the
// range expansion folded in.
struct YuvFactors {
  int yOffset;
  int y;
  int rFromV;
  int gFromU;
  int gFromV;
  int bFromU;
};

constexpr int kOne = 1 << 16;

constexpr int fixed(double value) { return static_cast<int>(value * kOne + (value < 0 ? -0.5 : 0.5)); }

constexpr YuvFactors factorsFor(double kr, double kb, bool fullRange) {
  const double kg = 1.0 - kr - kb;
  const double yScale = fullRange ? 1.0 : 255.0 / 219.0;
  const double cScale = fullRange ? 1.0 : 255.0 / 224.0;
  return {fullRange ? 0 : 16,
          fixed(yScale),
          fixed(2.0 * (1.0 - kr) * cScale),
          fixed(-2.0 * (1.0 - kb) * kb / kg * cScale),
          fixed(-2.0 * (1.0 - kr) * kr / kg * cScale),
          fixed(2.0 * (1.0 - kb) * cScale)};
}

YuvFactors factorsFor(YuvMatrix matrix, bool fullRange) {
  return matrix == YuvMatrix::Bt709 ? factorsFor(0.2126, 0.0722, fullRange)
                                    : factorsFor(0.299, 0.114, fullRange);
}

uint8_t clampToByte(int fixedValue) {
  return static_cast<uint8_t>(std::clamp((fixedValue + kOne / 2) >> 16, 0, 255));
}

void storeYuv(uint8_t* bgr, int y, int u, int v, const YuvFactors& f) {
  const int luma = (y - f.yOffset) * f.y;
  const int cb = u - 128;
  const int cr = v - 128;
  bgr[0] = clampToByte(luma + f.bFromU * cb);
  bgr[1] = clampToByte(luma + f.gFromU * cb + f.gFromV * cr);
  bgr[2] = clampToByte(luma + f.rFromV * cr);
}

size_t halfUp(int value) { return static_cast<size_t>(value + 1) / 2; }

// Row length of each chroma plane of I420/YV12.
size_t chromaStride(const FrameLayout& frame) { return halfUp(std::abs(frame.stride)); }

bool isPacked(PixelLayout layout) {
  return layout == PixelLayout::Yuy2 || layout == PixelLayout::Uyvy || layout == PixelLayout::Bgrx32;
}

// Reads Y, U and V of one pixel of a planar or packed YUV frame.
struct YuvReader {
  const uint8_t* data;
  const FrameLayout& frame;
  size_t lumaStride;
  size_t lumaBytes;

  void read(int x, int y, int& luma, int& u, int& v) const {
    const size_t row = static_cast<size_t>(y) * lumaStride;
    const size_t cx = static_cast<size_t>(x / 2);
    const size_t cy = static_cast<size_t>(y / 2);
    switch (frame.layout) {
      case PixelLayout::Nv12: {
        const uint8_t* uv = data + lumaBytes + cy * lumaStride + cx * 2;
        luma = data[row + x];
        u = uv[0];
        v = uv[1];
        return;
      }
      case PixelLayout::I420:
      case PixelLayout::Yv12: {
        const size_t cStride = chromaStride(frame);
        const size_t planeBytes = cStride * halfUp(frame.height);
        const uint8_t* first = data + lumaBytes + cy * cStride + cx;
        luma = data[row + x];
        const bool uFirst = frame.layout == PixelLayout::I420;
        u = uFirst ? first[0] : first[planeBytes];
        v = uFirst ? first[planeBytes] : first[0];
        return;
      }
      case PixelLayout::Yuy2:
      case PixelLayout::Uyvy: {
        const uint8_t* pair = data + row + cx * 4;
        const bool yuy2 = frame.layout == PixelLayout::Yuy2;
        luma = yuy2 ? pair[(x & 1) * 2] : pair[1 + (x & 1) * 2];
        u = yuy2 ? pair[1] : pair[0];
        v = yuy2 ? pair[3] : pair[2];
        return;
      }
      case PixelLayout::Bgrx32:
        break;
    }
    luma = u = v = 0;
  }
};

RgbImage convertBgrx(const uint8_t* data, const FrameLayout& frame, CropArea crop) {
  RgbImage image(crop.width, crop.height);
  const size_t rowBytes = static_cast<size_t>(std::abs(frame.stride));
  for (int y = 0; y < crop.height; ++y) {
    const int frameRow = crop.y + y;
    // A negative stride means the buffer holds the bottom row first.
    const int storedRow = frame.stride < 0 ? frame.height - 1 - frameRow : frameRow;
    const uint8_t* source = data + static_cast<size_t>(storedRow) * rowBytes + static_cast<size_t>(crop.x) * 4;
    uint8_t* target = image.at(0, y);
    for (int x = 0; x < crop.width; ++x, source += 4, target += 3) {
      target[0] = source[0];
      target[1] = source[1];
      target[2] = source[2];
    }
  }
  return image;
}

RgbImage convertYuv(const uint8_t* data, const FrameLayout& frame, CropArea crop) {
  RgbImage image(crop.width, crop.height);
  const size_t lumaStride = static_cast<size_t>(std::abs(frame.stride));
  const YuvReader reader{data, frame, lumaStride, lumaStride * static_cast<size_t>(frame.height)};
  const YuvFactors factors = factorsFor(frame.matrix, frame.fullRange);
  for (int y = 0; y < crop.height; ++y) {
    uint8_t* target = image.at(0, y);
    for (int x = 0; x < crop.width; ++x, target += 3) {
      int luma = 0, u = 0, v = 0;
      reader.read(crop.x + x, crop.y + y, luma, u, v);
      storeYuv(target, luma, u, v, factors);
    }
  }
  return image;
}

bool cropIsInside(const FrameLayout& frame, CropArea crop) {
  return crop.x >= 0 && crop.y >= 0 && crop.width > 0 && crop.height > 0 && crop.width <= frame.width - crop.x &&
         crop.height <= frame.height - crop.y;
}

// One row of YUV pixels to BGRX. Luma samples are `LumaStep` bytes apart;
// each chroma sample serves two neighbouring pixels and is `ChromaStep`
// bytes from the next. Templated so that the inner loop has constant steps.
template <int LumaStep, int ChromaStep>
void yuvRowToBgrx(const uint8_t* lumaRow, const uint8_t* uRow, const uint8_t* vRow, int firstX, int width,
                  const YuvFactors& f, uint8_t* target) {
  for (int i = 0; i < width; ++i, target += 4) {
    const int x = firstX + i;
    const int luma = (lumaRow[x * LumaStep] - f.yOffset) * f.y;
    const int chromaIndex = (x >> 1) * ChromaStep;
    const int cb = uRow[chromaIndex] - 128;
    const int cr = vRow[chromaIndex] - 128;
    target[0] = clampToByte(luma + f.bFromU * cb);
    target[1] = clampToByte(luma + f.gFromU * cb + f.gFromV * cr);
    target[2] = clampToByte(luma + f.rFromV * cr);
    target[3] = 0;
  }
}

void yuvToBgrx(const uint8_t* data, const FrameLayout& frame, CropArea crop, uint8_t* target, size_t targetStride) {
  const size_t lumaStride = static_cast<size_t>(std::abs(frame.stride));
  const size_t lumaBytes = lumaStride * static_cast<size_t>(frame.height);
  const size_t cStride = chromaStride(frame);
  const size_t planeBytes = cStride * halfUp(frame.height);
  const YuvFactors factors = factorsFor(frame.matrix, frame.fullRange);
  for (int row = 0; row < crop.height; ++row) {
    const size_t y = static_cast<size_t>(crop.y + row);
    const uint8_t* luma = data + y * lumaStride;
    uint8_t* out = target + static_cast<size_t>(row) * targetStride;
    switch (frame.layout) {
      case PixelLayout::Nv12: {
        const uint8_t* uv = data + lumaBytes + (y / 2) * lumaStride;
        yuvRowToBgrx<1, 2>(luma, uv, uv + 1, crop.x, crop.width, factors, out);
        break;
      }
      case PixelLayout::I420:
      case PixelLayout::Yv12: {
        const uint8_t* first = data + lumaBytes + (y / 2) * cStride;
        const uint8_t* second = first + planeBytes;
        const bool uFirst = frame.layout == PixelLayout::I420;
        yuvRowToBgrx<1, 1>(luma, uFirst ? first : second, uFirst ? second : first, crop.x, crop.width, factors, out);
        break;
      }
      case PixelLayout::Yuy2:
        yuvRowToBgrx<2, 4>(luma, luma + 1, luma + 3, crop.x, crop.width, factors, out);
        break;
      case PixelLayout::Uyvy:
        yuvRowToBgrx<2, 4>(luma + 1, luma, luma + 2, crop.x, crop.width, factors, out);
        break;
      case PixelLayout::Bgrx32:
        break;
    }
  }
}

}  // namespace

int minimumStride(PixelLayout layout, int width) {
  if (width <= 0) return 0;
  switch (layout) {
    case PixelLayout::Yuy2:
    case PixelLayout::Uyvy:
      return static_cast<int>(halfUp(width)) * 4;
    case PixelLayout::Bgrx32:
      return width * 4;
    case PixelLayout::Nv12:
      // The interleaved chroma row holds a U V pair for every two pixels, rounded up.
      return static_cast<int>(halfUp(width)) * 2;
    case PixelLayout::I420:
    case PixelLayout::Yv12:
      return width;
  }
  return 0;
}

size_t frameBytes(const FrameLayout& frame) {
  constexpr int kLargestSide = 1 << 15;
  if (frame.width <= 0 || frame.height <= 0 || frame.width > kLargestSide || frame.height > kLargestSide) return 0;
  const int stride = std::abs(frame.stride);
  if (stride < minimumStride(frame.layout, frame.width) || stride > 8 * kLargestSide) return 0;
  if (frame.stride < 0 && frame.layout != PixelLayout::Bgrx32) return 0;
  const size_t lumaBytes = static_cast<size_t>(stride) * static_cast<size_t>(frame.height);
  if (isPacked(frame.layout)) return lumaBytes;
  const size_t chromaRows = halfUp(frame.height);
  if (frame.layout == PixelLayout::Nv12) return lumaBytes + static_cast<size_t>(stride) * chromaRows;
  return lumaBytes + 2 * chromaStride(frame) * chromaRows;
}

RgbImage convertFrame(const uint8_t* data, size_t length, const FrameLayout& frame, CropArea crop) {
  const size_t needed = frameBytes(frame);
  if (!data || needed == 0 || length < needed) return {};
  if (!cropIsInside(frame, crop)) return {};
  return frame.layout == PixelLayout::Bgrx32 ? convertBgrx(data, frame, crop) : convertYuv(data, frame, crop);
}

bool convertFrameToBgrx(const uint8_t* data, size_t length, const FrameLayout& frame, CropArea crop,
                        uint8_t* target, size_t targetStride) {
  const size_t needed = frameBytes(frame);
  if (!data || !target || needed == 0 || length < needed || !cropIsInside(frame, crop) ||
      targetStride < static_cast<size_t>(crop.width) * 4)
    return false;
  if (frame.layout != PixelLayout::Bgrx32) {
    yuvToBgrx(data, frame, crop, target, targetStride);
    return true;
  }
  const size_t rowBytes = static_cast<size_t>(std::abs(frame.stride));
  for (int row = 0; row < crop.height; ++row) {
    const int frameRow = crop.y + row;
    const int storedRow = frame.stride < 0 ? frame.height - 1 - frameRow : frameRow;
    const uint8_t* source = data + static_cast<size_t>(storedRow) * rowBytes + static_cast<size_t>(crop.x) * 4;
    uint8_t* out = target + static_cast<size_t>(row) * targetStride;
    for (int x = 0; x < crop.width; ++x) {
      out[x * 4 + 0] = source[x * 4 + 0];
      out[x * 4 + 1] = source[x * 4 + 1];
      out[x * 4 + 2] = source[x * 4 + 2];
      out[x * 4 + 3] = 0;
    }
  }
  return true;
}

}  // namespace qova::screenshot
