#include "outside/media/VideoFrameFormat.h"

#include <mfapi.h>

#include "outside/media/PictureSize.h"
#include "runtime/UniqueHandle.h"

namespace qova::media {
namespace {

CropArea pictureArea(IMFMediaType* type, const FrameLayout& frame) {
  MFVideoArea area{};
  UINT32 size = 0;
  const CropArea whole = wholeFrame(frame);
  if (FAILED(type->GetBlob(MF_MT_MINIMUM_DISPLAY_APERTURE, reinterpret_cast<UINT8*>(&area), sizeof area, &size)) ||
      size != sizeof area)
    return whole;
  const CropArea aperture{area.OffsetX.value, area.OffsetY.value, static_cast<int>(area.Area.cx),
                          static_cast<int>(area.Area.cy)};
  const bool inside = aperture.x >= 0 && aperture.y >= 0 && aperture.width > 0 && aperture.height > 0 &&
                      aperture.width <= frame.width - aperture.x && aperture.height <= frame.height - aperture.y;
  return inside ? aperture : whole;
}

YuvMatrix matrixOf(IMFMediaType* type, int height, const StreamColour* stream) {
  const UINT32 matrix = MFGetAttributeUINT32(type, MF_MT_YUV_MATRIX, MFVideoTransferMatrix_Unknown);
  if (matrix == MFVideoTransferMatrix_BT601) return YuvMatrix::Bt601;
  if (matrix == MFVideoTransferMatrix_BT709 || matrix == MFVideoTransferMatrix_SMPTE240M) return YuvMatrix::Bt709;
  if (matrix == MFVideoTransferMatrix_BT2020_10 || matrix == MFVideoTransferMatrix_BT2020_12)
    return YuvMatrix::Bt2020;
  if (stream && stream->matrix) return *stream->matrix;
  // Untagged video follows the usual rule: high definition is BT.709.
  return height >= 720 ? YuvMatrix::Bt709 : YuvMatrix::Bt601;
}

bool fullRangeOf(IMFMediaType* type, const StreamColour* stream) {
  const UINT32 range = MFGetAttributeUINT32(type, MF_MT_VIDEO_NOMINAL_RANGE, MFNominalRange_Unknown);
  if (range == MFNominalRange_0_255) return true;
  if (range == MFNominalRange_16_235 || range == MFNominalRange_48_208 || range == MFNominalRange_64_127) return false;
  // Untagged video is limited range, unless the stream itself says otherwise.
  return stream && stream->fullRange;
}

// When no stride is given, a buffer longer than the tightest layout means padded rows.
FrameLayout withStrideFromLength(FrameLayout frame, size_t length) {
  const bool packed = frame.layout == PixelLayout::Yuy2 || frame.layout == PixelLayout::Uyvy ||
                      frame.layout == PixelLayout::Bgrx32;
  const size_t rowsPerStride = packed ? static_cast<size_t>(frame.height)
                                      : static_cast<size_t>(frame.height) + static_cast<size_t>(frame.height + 1) / 2;
  if (length <= frameBytes(frame) || length % rowsPerStride != 0) return frame;
  FrameLayout padded = frame;
  padded.stride = static_cast<int>(length / rowsPerStride);
  return frameBytes(padded) == length ? padded : frame;
}

}  // namespace

std::optional<PixelLayout> layoutOfSubtype(const GUID& subtype) {
  if (subtype == MFVideoFormat_NV12) return PixelLayout::Nv12;
  if (subtype == MFVideoFormat_P010) return PixelLayout::P010;
  if (subtype == MFVideoFormat_I420 || subtype == MFVideoFormat_IYUV) return PixelLayout::I420;
  if (subtype == MFVideoFormat_YV12) return PixelLayout::Yv12;
  if (subtype == MFVideoFormat_YUY2) return PixelLayout::Yuy2;
  if (subtype == MFVideoFormat_UYVY) return PixelLayout::Uyvy;
  if (subtype == MFVideoFormat_RGB32 || subtype == MFVideoFormat_ARGB32) return PixelLayout::Bgrx32;
  return std::nullopt;
}

std::optional<VideoFrameFormat> describeVideoType(IMFMediaType* type, const StreamColour* stream) {
  GUID subtype{};
  if (!type || FAILED(type->GetGUID(MF_MT_SUBTYPE, &subtype))) return std::nullopt;
  const std::optional<PixelLayout> layout = layoutOfSubtype(subtype);
  UINT32 width = 0, height = 0;
  if (!layout || FAILED(MFGetAttributeSize(type, MF_MT_FRAME_SIZE, &width, &height))) return std::nullopt;

  VideoFrameFormat format;
  format.frame.layout = *layout;
  format.frame.width = static_cast<int>(width);
  format.frame.height = static_cast<int>(height);
  UINT32 stride = 0;
  format.strideGiven = SUCCEEDED(type->GetUINT32(MF_MT_DEFAULT_STRIDE, &stride));
  // The attribute holds a signed number: negative for bottom-up RGB.
  format.frame.stride = format.strideGiven ? static_cast<int32_t>(stride) : minimumStride(*layout, format.frame.width);
  format.frame.matrix = matrixOf(type, format.frame.height, stream);
  format.frame.fullRange = fullRangeOf(type, stream);
  if (frameBytes(format.frame) == 0) return std::nullopt;
  format.picture = pictureArea(type, format.frame);

  UINT32 numerator = 0, denominator = 0;
  if (SUCCEEDED(MFGetAttributeRatio(type, MF_MT_PIXEL_ASPECT_RATIO, &numerator, &denominator)) &&
      numerator > 0 && denominator > 0 && numerator < 1000 && denominator < 1000) {
    format.pixelAspectNumerator = static_cast<int>(numerator);
    format.pixelAspectDenominator = static_cast<int>(denominator);
  }
  return format;
}

namespace {

// Calls convert(data, length, frame) with the sample's bytes locked; `failed` when there are none.
template <typename Convert, typename Result>
Result withSampleBytes(IMFSample* sample, const VideoFrameFormat& format, Result failed, Convert convert) {
  ComPtr<IMFMediaBuffer> buffer;
  // For a two-dimensional buffer this is a copy with the type's own stride.
  if (!sample || FAILED(sample->ConvertToContiguousBuffer(buffer.put()))) return failed;
  const LockedBuffer bytes(buffer.get());
  const FrameLayout frame = format.strideGiven ? format.frame : withStrideFromLength(format.frame, bytes.length());
  return convert(bytes.data(), bytes.length(), frame);
}

}  // namespace

RgbImage pictureOfSample(IMFSample* sample, const VideoFrameFormat& format) {
  return withSampleBytes(sample, format, RgbImage{}, [&](const uint8_t* data, size_t length, const FrameLayout& frame) {
    return convertFrame(data, length, frame, format.picture);
  });
}

PictureFormat pictureFormatOf(const VideoFrameFormat& format) {
  return {planeFormatFor(format.frame.layout), format.picture.width, format.picture.height, format.frame.matrix,
          format.frame.fullRange};
}

SIZE shownPictureSize(const VideoFrameFormat& format) {
  return {displayWidth(format.picture.width, format.pixelAspectNumerator, format.pixelAspectDenominator),
          format.picture.height};
}

bool copySampleAsPlanes(IMFSample* sample, const VideoFrameFormat& format, uint8_t* target, size_t targetBytes) {
  return withSampleBytes(sample, format, false, [&](const uint8_t* data, size_t length, const FrameLayout& frame) {
    return copyFrameAsPlanes(data, length, frame, format.picture, pictureFormatOf(format), target, targetBytes);
  });
}

bool sampleOnCard(IMFSample* sample) {
  ComPtr<IMFMediaBuffer> buffer;
  if (!sample || FAILED(sample->GetBufferByIndex(0, buffer.put()))) return false;
  ComPtr<IMFDXGIBuffer> texture;
  return SUCCEEDED(buffer->QueryInterface(IID_PPV_ARGS(texture.put())));
}

}  // namespace qova::media
