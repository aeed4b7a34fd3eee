#pragma once
// Recognising a media file cut short: a half-downloaded video, a copy that
// stopped, a recording that never closed. An ISO base media file (MP4, MOV,
// M4A, 3GP) without its whole index can never play; one whose index is whole
// but whose data stops early, an AVI shorter than its RIFF header says, and
// an ASF file (WMV, WMA) shorter than its header says, can make the
// platform's demuxer (GStreamer under Wine) wait forever for the missing
// bytes instead of failing. So the engine and the frame capture refuse
// such a file before the platform sees it.
// Platform-free: the caller supplies the reading.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace qova::media {

// Fills `length` bytes at `offset`; false when they cannot be read.
using ReadAt = std::function<bool(uint64_t offset, uint8_t* buffer, size_t length)>;

// True for an ISO media file (first box 'ftyp') without a whole top-level
// 'moov' box, or whose box structure breaks before it, or whose media data
// ('mdat', 'moof', 'moov') runs past the end of the file; and for a RIFF
// 'AVI ' file shorter than its header's size; and for an ASF file whose header
// runs past the end or whose file properties give a larger size. False for a whole file, however
// many boxes it has and whatever bytes follow its last box, and for anything
// else (left to the platform). Reads only headers, 64 KB at a time, and at
// most about a thousand times once the index is whole.
bool mediaFileIsCutShort(uint64_t fileSize, const ReadAt& readAt);

}  // namespace qova::media
