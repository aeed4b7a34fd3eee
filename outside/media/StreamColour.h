#pragma once
// The colour space an H.264 stream in an MP4 (or MOV) file states in its
// sequence parameter set: the YUV matrix and whether its samples use the
// full 0..255 range. Platform-free.
//
// Media Foundation's media types carry this as MF_MT_YUV_MATRIX and
// MF_MT_VIDEO_NOMINAL_RANGE where the platform's decoder reports them;
// Wine's decoders never do, and a full-range clip then shows washed out. The
// file says it itself, in the decoder configuration record ('avcC').
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "outside/media/FrameConversion.h"

namespace qova::media {

struct StreamColour {
  std::optional<YuvMatrix> matrix;  // nothing when the stream leaves it unspecified
  bool fullRange = false;
};

// Reads `length` bytes at `offset` of the file into `target`; false when the file has fewer.
using FileBytes = std::function<bool(uint64_t offset, size_t length, uint8_t* target)>;

// The colour of the first H.264 video track of an MP4 file of `fileSize`
// bytes; nullopt for another kind of file, another codec, or a stream that
// says nothing of its colour (no video signal type in its VUI).
std::optional<StreamColour> mp4StreamColour(const FileBytes& read, uint64_t fileSize);

// The colour a sequence parameter set NAL unit (its header byte first)
// states; nullopt when it says nothing or is malformed.
std::optional<StreamColour> h264SpsColour(const uint8_t* nal, size_t length);

}  // namespace qova::media
