#include "outside/aplayer/IsoMediaIndex.h"

#include <array>
#include <cstring>

namespace qova::aplayer {
namespace {

uint64_t bigEndian(const uint8_t* bytes, size_t count) {
  uint64_t value = 0;
  for (size_t i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

bool isType(const uint8_t* header, const char (&type)[5]) { return std::memcmp(header + 4, type, 4) == 0; }

// A file with more top-level boxes than this is not one a camera or encoder wrote.
constexpr int kMaxTopLevelBoxes = 100'000;

}  // namespace

bool isoMediaLacksIndex(uint64_t fileSize, const ReadAt& readAt) {
  std::array<uint8_t, 16> header{};
  if (fileSize < 8 || !readAt(0, header.data(), 8) || !isType(header.data(), "ftyp")) return false;
  uint64_t offset = 0;
  for (int box = 0; box < kMaxTopLevelBoxes && fileSize - offset >= 8; ++box) {
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
    if (size < headerSize) return true;
    if (isType(header.data(), "moov")) return size > fileSize - offset;
    if (size > fileSize - offset) return true;  // cut short before any index
    offset += size;
  }
  return true;
}

}  // namespace qova::aplayer
