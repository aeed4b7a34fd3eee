#include "outside/media/CutShortMedia.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace qova::media {
namespace {

uint64_t bigEndian(const uint8_t* bytes, size_t count) {
  uint64_t value = 0;
  for (size_t i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

uint64_t littleEndian32(const uint8_t* bytes) {
  return bytes[0] | (uint64_t{bytes[1]} << 8) | (uint64_t{bytes[2]} << 16) | (uint64_t{bytes[3]} << 24);
}

bool hasType(const uint8_t* bytes, const char (&type)[5]) { return std::memcmp(bytes, type, 4) == 0; }

// Box headers come in the thousands in a fragmented file: each read of the
// file fetches this much, so that a walk over them costs a few reads, not one per box.
constexpr size_t kReadWindowBytes = 64 * 1024;
// Boxes larger than the window cost a read each. Past this many reads with
// the index whole, the rest (hours of fragments) is left to the platform:
// the look must stay short of the time after which the playback thread
// counts as stuck, even on a slow disk.
constexpr int kMostReadsAfterTheIndex = 1024;

// Serves small reads of the file from one window of it, moved on as the reads go.
class ReadWindow {
 public:
  ReadWindow(uint64_t fileSize, const ReadAt& readAt) : fileSize_(fileSize), readAt_(readAt) {}

  int reads() const { return reads_; }

  bool read(uint64_t offset, uint8_t* buffer, size_t length) {
    if (offset > fileSize_ || fileSize_ - offset < length) return false;
    if (offset < start_ || offset + length > start_ + bytes_.size()) {
      ++reads_;
      const size_t wanted = static_cast<size_t>(std::min<uint64_t>(kReadWindowBytes, fileSize_ - offset));
      bytes_.resize(std::max(wanted, length));
      if (!readAt_(offset, bytes_.data(), bytes_.size())) {
        bytes_.clear();
        return false;
      }
      start_ = offset;
    }
    std::memcpy(buffer, bytes_.data() + (offset - start_), length);
    return true;
  }

 private:
  const uint64_t fileSize_;
  const ReadAt& readAt_;
  uint64_t start_ = 0;
  std::vector<uint8_t> bytes_;
  int reads_ = 0;
};

// Four letters, digits, spaces or the marks some types use: what a box type looks like.
bool looksLikeBoxType(const uint8_t* type) {
  return std::all_of(type, type + 4, [](uint8_t c) { return c >= 0x20 && c < 0x7f; });
}

// Boxes a player cannot do without: one of these running past the end is a cut, whatever came before it.
bool holdsMedia(const uint8_t* type) { return hasType(type, "mdat") || hasType(type, "moof") || hasType(type, "moov"); }

// Walks the top-level boxes of a file whose first box is 'ftyp'.
bool isoMediaIsCutShort(uint64_t fileSize, const ReadAt& readAt) {
  ReadWindow window(fileSize, readAt);
  std::array<uint8_t, 16> header{};
  bool sawIndex = false;
  int readsBeforeTheIndex = 0;
  uint64_t offset = 0;
  while (fileSize - offset >= 8) {
    if (sawIndex && window.reads() - readsBeforeTheIndex > kMostReadsAfterTheIndex) return false;
    if (!window.read(offset, header.data(), 8)) return true;
    const uint8_t* type = header.data() + 4;
    uint64_t size = bigEndian(header.data(), 4);
    uint64_t headerSize = 8;
    bool whole = true;
    if (size == 1) {  // a 64-bit size follows the type
      whole = fileSize - offset >= 16 && window.read(offset + 8, header.data() + 8, 8);
      size = whole ? bigEndian(header.data() + 8, 8) : 0;
      headerSize = 16;
    } else if (size == 0) {  // the last box, up to the end of the file
      size = fileSize - offset;
    }
    whole = whole && size >= headerSize && size <= fileSize - offset;
    if (!whole) {
      // After a whole index, what is not a box the player needs is bytes a
      // writer left after the last box (padding, a tag, a stray copy), not a cut.
      return !sawIndex || (looksLikeBoxType(type) && holdsMedia(type));
    }
    if (!sawIndex && hasType(type, "moov")) {
      sawIndex = true;
      readsBeforeTheIndex = window.reads();
    }
    offset += size;
  }
  return !sawIndex;
}

uint64_t littleEndian64(const uint8_t* bytes) {
  return littleEndian32(bytes) | (littleEndian32(bytes + 4) << 32);
}

// The ASF header object (WMV, WMA) and, inside it, the file properties object.
constexpr std::array<uint8_t, 16> kAsfHeader{0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr std::array<uint8_t, 16> kAsfFileProperties{0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                                     0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr uint32_t kAsfBroadcast = 1;  // the file size field means nothing (a live stream)

bool startsWith(const uint8_t* bytes, const std::array<uint8_t, 16>& guid) {
  return std::memcmp(bytes, guid.data(), guid.size()) == 0;
}

// An ASF file is cut when its header runs past the end, or when its file
// properties give a size (it is no broadcast) larger than the file.
bool asfIsCutShort(uint64_t fileSize, const ReadAt& readAt) {
  ReadWindow window(fileSize, readAt);
  std::array<uint8_t, 92> object{};
  if (!window.read(0, object.data(), 30)) return true;
  const uint64_t headerEnd = littleEndian64(object.data() + 16);
  if (headerEnd > fileSize) return true;
  for (uint64_t offset = 30; headerEnd - offset >= 24;) {
    if (!window.read(offset, object.data(), 24)) return true;
    const uint64_t size = littleEndian64(object.data() + 16);
    if (size < 24 || size > headerEnd - offset) return false;  // a broken header: the platform says no
    if (startsWith(object.data(), kAsfFileProperties) && size >= object.size() &&
        window.read(offset, object.data(), object.size())) {
      const uint64_t declared = littleEndian64(object.data() + 40);
      return (littleEndian32(object.data() + 88) & kAsfBroadcast) == 0 && declared > fileSize;
    }
    offset += size;
  }
  return false;
}

}  // namespace

bool mediaFileIsCutShort(uint64_t fileSize, const ReadAt& readAt) {
  std::array<uint8_t, 12> start{};
  if (fileSize < start.size() || !readAt(0, start.data(), start.size())) return false;
  if (hasType(start.data() + 4, "ftyp")) return isoMediaIsCutShort(fileSize, readAt);
  if (hasType(start.data(), "RIFF") && hasType(start.data() + 8, "AVI "))
    return littleEndian32(start.data() + 4) + 8 > fileSize;
  if (fileSize >= kAsfHeader.size()) {
    std::array<uint8_t, 16> guid{};
    if (readAt(0, guid.data(), guid.size()) && guid == kAsfHeader) return asfIsCutShort(fileSize, readAt);
  }
  return false;
}

}  // namespace qova::media
