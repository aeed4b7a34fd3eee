#pragma once
// Turns one decoded video frame, in whatever layout the decoder hands out,
// into a BGR picture (for thumbnails) or into BGRX rows (for the player
// engine, which shows every frame). Platform-free.
//
// Under Wine the Source Reader cannot convert colours, so frames arrive in the
// decoder's own layout (NV12, I420 ...); on Windows they are usually RGB32.
// A frame buffer is trusted for nothing: its length is checked against the
// layout before a byte is read.
#include <cstddef>
#include <cstdint>

#include "outside/media/RgbImage.h"

namespace qova::media {

enum class PixelLayout {
  Nv12,    // Y plane, then one plane of interleaved U V at half width and height
  I420,    // Y plane, then U and V planes at half width and height (also IYUV)
  Yv12,    // as I420 with V before U
  Yuy2,    // packed Y0 U Y1 V
  Uyvy,    // packed U Y0 V Y1
  Bgrx32,  // B G R X bytes (RGB32 and ARGB32)
  P010,    // as NV12 with 16-bit little-endian samples, the 10 bits at the top (10-bit HEVC)
};

enum class YuvMatrix { Bt601, Bt709, Bt2020 };

struct FrameLayout {
  PixelLayout layout = PixelLayout::Nv12;
  int width = 0;   // of the decoded frame, padding rows and columns included
  int height = 0;
  // Bytes from one row of the first plane to the next; negative for a
  // bottom-up RGB frame. Chroma planes of I420/YV12 take half of it.
  int stride = 0;
  YuvMatrix matrix = YuvMatrix::Bt601;
  bool fullRange = false;  // YUV samples use 0..255 rather than 16..235
};

// The part of the frame that is picture.
struct CropArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The smallest row length in bytes for `width` pixels of the layout's first plane; 0 for width <= 0.
int minimumStride(PixelLayout layout, int width);

// Bytes a frame buffer of this layout takes; 0 when the layout is impossible
// (no size, a row shorter than its pixels).
size_t frameBytes(const FrameLayout& frame);

// The crop area of the frame as BGR. An empty image when the layout is
// impossible, the buffer is shorter than frameBytes or the crop area is not
// inside the frame.
RgbImage convertFrame(const uint8_t* data, size_t length, const FrameLayout& frame, CropArea crop);

// The crop area of the frame written as B G R X bytes into `target`, rows
// `targetStride` bytes apart, top row first; the X bytes are 0. For showing
// frames as they play: one pass with no allocation. False, with nothing
// written, for the cases where convertFrame returns an empty image.
bool convertFrameToBgrx(const uint8_t* data, size_t length, const FrameLayout& frame, CropArea crop,
                        uint8_t* target, size_t targetStride);

// The whole frame as the crop area.
inline CropArea wholeFrame(const FrameLayout& frame) { return {0, 0, frame.width, frame.height}; }

// How the player engine hands a picture from decoding to showing: the YUV
// planes as they came from the decoder (converted and scaled where it is
// shown, by the graphics card or the processor), with nothing but the
// picture in them and rows packed.
enum class PlaneFormat : int32_t {
  Nv12 = 0,  // every 8-bit layout
  P010 = 1,  // 10-bit video
  Bgrx = 2,  // frames the platform already made RGB
};

struct PictureFormat {
  PlaneFormat planes = PlaneFormat::Nv12;
  int width = 0;
  int height = 0;
  YuvMatrix matrix = YuvMatrix::Bt601;
  bool fullRange = false;
};

// The planes a frame of `layout` is handed on as.
PlaneFormat planeFormatFor(PixelLayout layout);

// The picture's planes as a frame layout (rows packed), for convertFrameToBgrx.
FrameLayout planeLayout(const PictureFormat& picture);

// Bytes the picture's planes take; 0 when the size is impossible.
inline size_t pictureBytes(const PictureFormat& picture) { return frameBytes(planeLayout(picture)); }

// The crop area of the frame written into `target` as `picture` (whose size
// is the crop's and whose planes are planeFormatFor the frame's layout):
// copied where the layouts agree, chroma interleaved or subsampled where
// they do not. False, with nothing written, where convertFrame returns an
// empty image or `targetBytes` is short.
bool copyFrameAsPlanes(const uint8_t* data, size_t length, const FrameLayout& frame, CropArea crop,
                       const PictureFormat& picture, uint8_t* target, size_t targetBytes);

}  // namespace qova::media
