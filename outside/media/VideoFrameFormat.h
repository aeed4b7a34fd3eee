#pragma once
// What the Source Reader's video frames look like, read from its media type,
// and the picture inside one of its samples.
#include <windows.h>
#include <mfidl.h>

#include <optional>

#include "outside/media/FrameConversion.h"
#include "outside/media/RgbImage.h"
#include "outside/media/StreamColour.h"

namespace qova::media {

// Keeps a media buffer locked while its bytes are read (frames here, sound in the player engine).
class LockedBuffer {
 public:
  explicit LockedBuffer(IMFMediaBuffer* buffer) : buffer_(buffer) {
    DWORD maxLength = 0;
    if (FAILED(buffer_->Lock(&data_, &maxLength, &length_))) data_ = nullptr;
  }
  ~LockedBuffer() {
    if (data_) buffer_->Unlock();
  }
  LockedBuffer(const LockedBuffer&) = delete;
  LockedBuffer& operator=(const LockedBuffer&) = delete;

  const uint8_t* data() const { return data_; }
  size_t length() const { return data_ ? length_ : 0; }

 private:
  IMFMediaBuffer* buffer_;
  BYTE* data_ = nullptr;
  DWORD length_ = 0;
};

struct VideoFrameFormat {
  FrameLayout frame;
  CropArea picture;  // the part of the frame that is picture (decoders pad to 16 lines)
  int pixelAspectNumerator = 0;  // 0: square pixels
  int pixelAspectDenominator = 0;
  bool strideGiven = false;  // the media type said how long a row is
};

// The layout of an uncompressed video subtype we can read; nullopt for any other.
std::optional<PixelLayout> layoutOfSubtype(const GUID& subtype);

// The format of frames of the media type; nullopt for a subtype we cannot read or no frame size.
// Where the type does not state the matrix or the range, `stream` (when
// given: what the file itself states) does, else the usual convention.
std::optional<VideoFrameFormat> describeVideoType(IMFMediaType* type, const StreamColour* stream = nullptr);

// The sample's picture as BGR; empty when its buffer does not fit the format.
RgbImage pictureOfSample(IMFSample* sample, const VideoFrameFormat& format);

// How the player engine hands on the pictures of frames of `format`.
PictureFormat pictureFormatOf(const VideoFrameFormat& format);

// The size on screen of a picture of `format` (pixel aspect applied).
SIZE shownPictureSize(const VideoFrameFormat& format);

// The sample's picture as the planes of pictureFormatOf(format) into
// `target` (see copyFrameAsPlanes); false when its buffer does not fit the
// format or `targetBytes` is short.
bool copySampleAsPlanes(IMFSample* sample, const VideoFrameFormat& format, uint8_t* target, size_t targetBytes);

// The sample's picture lies in a texture of the graphics card: a hardware decoder's frame.
bool sampleOnCard(IMFSample* sample);

}  // namespace qova::media
