#include "outside/aplayer/CutShortMedia.h"

#include <array>
#include <cstring>

namespace qova::aplayer {
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

// A file with more top-level boxes than this is not one a camera or encoder wrote.
constexpr int kMaxTopLevelBoxes = 100'000;

// Walks the top-level boxes of a file whose first box is 'ftyp'.
bool isoMediaIsCutShort(uint64_t fileSize, const ReadAt& readAt) {
  std::array<uint8_t, 16> header{};
  bool sawIndex = false;
  uint64_t offset = 0;
  int box = 0;
  for (; box < kMaxTopLevelBoxes && fileSize - offset >= 8; ++box) {
    if (!readAt(offset, header.data(), 8)) return true;
    uint64_t size = bigEndian(header.data(), 4);
    uint64_t headerSize = 8;
    if (size == 1) {  // a 64-bit size follows the type
      if (fileSize - offset < 16 || !readAt(offset + 8, header.data() + 8, 8)) return true;
      size = bigEndian(header.data() + 8, 8);
      headerSize = 16;
    } else if (size == 0) {  // the last box, up to the end of the file
      size = fileSize - offset;
    }
    if (size < headerSize || size > fileSize - offset) return true;
    sawIndex = sawIndex || hasType(header.data() + 4, "moov");
    offset += size;
  }
  // A few stray bytes after the last box (padding some writers leave) are
  // no cut; a walk stopped by the box limit did not see the whole file.
  return !sawIndex || box == kMaxTopLevelBoxes;
}

}  // namespace

bool mediaFileIsCutShort(uint64_t fileSize, const ReadAt& readAt) {
  std::array<uint8_t, 12> start{};
  if (fileSize < start.size() || !readAt(0, start.data(), start.size())) return false;
  if (hasType(start.data() + 4, "ftyp")) return isoMediaIsCutShort(fileSize, readAt);
  if (hasType(start.data(), "RIFF") && hasType(start.data() + 8, "AVI "))
    return littleEndian32(start.data() + 4) + 8 > fileSize;
  return false;
}

}  // namespace qova::aplayer
