#include "outside/media/FrameConversion.h"

#include <algorithm>
#include <cstdlib>

namespace qova::media {
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
  switch (matrix) {
    case YuvMatrix::Bt709:
      return factorsFor(0.2126, 0.0722, fullRange);
    case YuvMatrix::Bt2020:
      return factorsFor(0.2627, 0.0593, fullRange);
    case YuvMatrix::Bt601:
      break;
  }
  return factorsFor(0.299, 0.114, fullRange);
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
      case PixelLayout::P010: {
        // The high byte of each little-endian sample holds its top 8 bits.
        const uint8_t* uv = data + lumaBytes + cy * lumaStride + cx * 4;
        luma = data[row + static_cast<size_t>(x) * 2 + 1];
        u = uv[1];
        v = uv[3];
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
      case PixelLayout::P010: {
        // The top 8 bits of each sample: the high bytes.
        const uint8_t* uv = data + lumaBytes + (y / 2) * lumaStride;
        yuvRowToBgrx<2, 4>(luma + 1, uv + 1, uv + 3, crop.x, crop.width, factors, out);
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
    case PixelLayout::P010:
      return static_cast<int>(halfUp(width)) * 4;
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
  if (frame.layout == PixelLayout::Nv12 || frame.layout == PixelLayout::P010)
    return lumaBytes + static_cast<size_t>(stride) * chromaRows;
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

PlaneFormat planeFormatFor(PixelLayout layout) {
  switch (layout) {
    case PixelLayout::P010:
      return PlaneFormat::P010;
    case PixelLayout::Bgrx32:
      return PlaneFormat::Bgrx;
    case PixelLayout::Nv12:
    case PixelLayout::I420:
    case PixelLayout::Yv12:
    case PixelLayout::Yuy2:
    case PixelLayout::Uyvy:
      break;
  }
  return PlaneFormat::Nv12;
}

FrameLayout planeLayout(const PictureFormat& picture) {
  FrameLayout frame;
  frame.layout = picture.planes == PlaneFormat::P010   ? PixelLayout::P010
                 : picture.planes == PlaneFormat::Bgrx ? PixelLayout::Bgrx32
                                                       : PixelLayout::Nv12;
  frame.width = picture.width;
  frame.height = picture.height;
  frame.stride = minimumStride(frame.layout, picture.width);
  frame.matrix = picture.matrix;
  frame.fullRange = picture.fullRange;
  return frame;
}

namespace {

// Rows of `bytes` bytes from `source` to `target`, each with its own row length.
void copyRows(const uint8_t* source, size_t sourceStride, int rows, size_t bytes, uint8_t* target,
              size_t targetStride) {
  for (int row = 0; row < rows; ++row)
    std::copy_n(source + static_cast<size_t>(row) * sourceStride, bytes,
                target + static_cast<size_t>(row) * targetStride);
}

// The chroma of the crop as interleaved U V rows (NV12's second plane), read
// from any 8-bit YUV layout; the chroma of odd rows of packed layouts is left out.
void interleaveChroma(const uint8_t* data, const FrameLayout& frame, CropArea crop, uint8_t* target) {
  const YuvReader reader{data, frame, static_cast<size_t>(std::abs(frame.stride)),
                         static_cast<size_t>(std::abs(frame.stride)) * static_cast<size_t>(frame.height)};
  const int chromaWidth = static_cast<int>(halfUp(crop.width));
  const int chromaHeight = static_cast<int>(halfUp(crop.height));
  const size_t rowBytes = static_cast<size_t>(chromaWidth) * 2;
  for (int cy = 0; cy < chromaHeight; ++cy) {
    uint8_t* out = target + static_cast<size_t>(cy) * rowBytes;
    for (int cx = 0; cx < chromaWidth; ++cx) {
      int luma = 0, u = 0, v = 0;
      reader.read(crop.x + cx * 2, crop.y + cy * 2, luma, u, v);
      out[cx * 2] = static_cast<uint8_t>(u);
      out[cx * 2 + 1] = static_cast<uint8_t>(v);
    }
  }
}

}  // namespace

bool copyFrameAsPlanes(const uint8_t* data, size_t length, const FrameLayout& frame, CropArea crop,
                       const PictureFormat& picture, uint8_t* target, size_t targetBytes) {
  const size_t needed = frameBytes(frame);
  if (!data || !target || needed == 0 || length < needed || !cropIsInside(frame, crop) ||
      picture.width != crop.width || picture.height != crop.height || picture.planes != planeFormatFor(frame.layout))
    return false;
  const FrameLayout packed = planeLayout(picture);
  const size_t packedBytes = frameBytes(packed);
  if (packedBytes == 0 || targetBytes < packedBytes) return false;
  const size_t stride = static_cast<size_t>(std::abs(frame.stride));
  const size_t packedStride = static_cast<size_t>(packed.stride);
  const size_t lumaBytes = stride * static_cast<size_t>(frame.height);
  uint8_t* targetChroma = target + packedStride * static_cast<size_t>(crop.height);
  // Chroma pairs start at even columns and rows.
  const size_t evenX = static_cast<size_t>(crop.x & ~1);
  const size_t evenY = static_cast<size_t>(crop.y & ~1);
  switch (frame.layout) {
    case PixelLayout::Bgrx32:
      return convertFrameToBgrx(data, length, frame, crop, target, packedStride);
    case PixelLayout::Nv12:
    case PixelLayout::P010: {
      const size_t bytesPerSample = frame.layout == PixelLayout::P010 ? 2 : 1;
      copyRows(data + static_cast<size_t>(crop.y) * stride + static_cast<size_t>(crop.x) * bytesPerSample, stride,
               crop.height, static_cast<size_t>(crop.width) * bytesPerSample, target, packedStride);
      copyRows(data + lumaBytes + evenY / 2 * stride + evenX * bytesPerSample, stride,
               static_cast<int>(halfUp(crop.height)), packedStride, targetChroma, packedStride);
      return true;
    }
    case PixelLayout::I420:
    case PixelLayout::Yv12:
      copyRows(data + static_cast<size_t>(crop.y) * stride + static_cast<size_t>(crop.x), stride, crop.height,
               static_cast<size_t>(crop.width), target, packedStride);
      break;
    case PixelLayout::Yuy2:
    case PixelLayout::Uyvy: {
      const size_t lumaOffset = frame.layout == PixelLayout::Yuy2 ? 0 : 1;
      for (int row = 0; row < crop.height; ++row) {
        const uint8_t* source = data + static_cast<size_t>(crop.y + row) * stride + lumaOffset;
        uint8_t* out = target + static_cast<size_t>(row) * packedStride;
        for (int x = 0; x < crop.width; ++x) out[x] = source[static_cast<size_t>(crop.x + x) * 2];
      }
      break;
    }
  }
  interleaveChroma(data, frame, crop, targetChroma);
  return true;
}

}  // namespace qova::media
