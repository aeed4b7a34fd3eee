#pragma once
// Recognising an ISO base media file (MP4, MOV, M4A, 3GP) whose index is
// missing, e.g. one cut short before its 'moov' box. Such a file can never
// play, and the platform's demuxer (GStreamer under Wine) may wait forever
// for the index instead of failing; so the engine refuses it first.
// Platform-free: the caller supplies the reading.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace qova::aplayer {

// Fills `length` bytes at `offset`; false when they cannot be read.
using ReadAt = std::function<bool(uint64_t offset, uint8_t* buffer, size_t length)>;

// True for an ISO media file (first box 'ftyp') without a whole top-level
// 'moov' box, or whose box structure is broken before one. False for a
// complete one and for anything that is not ISO media (left to the platform).
// Reads only box headers.
bool isoMediaLacksIndex(uint64_t fileSize, const ReadAt& readAt);

}  // namespace qova::aplayer
