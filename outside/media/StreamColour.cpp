#include "outside/media/StreamColour.h"

#include <array>
#include <cstring>
#include <vector>

namespace qova::media {
namespace {

// Exp-Golomb and fixed-width fields of a NAL unit's payload, its emulation
// prevention bytes removed; reads past the end fail the whole parse.
class BitReader {
 public:
  BitReader(const uint8_t* data, size_t length) {
    bytes_.reserve(length);
    int zeros = 0;
    for (size_t i = 0; i < length; ++i) {
      if (zeros >= 2 && data[i] == 3) {
        zeros = 0;
        continue;
      }
      zeros = data[i] == 0 ? zeros + 1 : 0;
      bytes_.push_back(data[i]);
    }
  }

  bool failed() const { return failed_; }

  uint32_t bits(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 1) | bit();
    return value;
  }

  uint32_t unsignedGolomb() {
    int leadingZeros = 0;
    while (!failed_ && bit() == 0)
      if (++leadingZeros > 31) failed_ = true;
    if (failed_) return 0;
    return ((1u << leadingZeros) - 1) + bits(leadingZeros);
  }

  int32_t signedGolomb() {
    const uint32_t code = unsignedGolomb();
    return code & 1 ? static_cast<int32_t>((code + 1) / 2) : -static_cast<int32_t>(code / 2);
  }

 private:
  uint32_t bit() {
    if (position_ >= bytes_.size() * 8) {
      failed_ = true;
      return 0;
    }
    const uint32_t value = (bytes_[position_ / 8] >> (7 - position_ % 8)) & 1;
    ++position_;
    return value;
  }

  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
  bool failed_ = false;
};

void skipScalingList(BitReader& reader, int size) {
  int last = 8, next = 8;
  for (int j = 0; j < size && !reader.failed(); ++j) {
    if (next != 0) next = (last + reader.signedGolomb() + 256) % 256;
    last = next == 0 ? last : next;
  }
}

bool hasChromaFormatFields(uint32_t profile) {
  constexpr std::array<uint32_t, 12> kProfiles{100, 110, 122, 244, 44, 83, 86, 118, 128, 138, 139, 134};
  for (const uint32_t known : kProfiles)
    if (profile == known) return true;
  return profile == 135;
}

std::optional<YuvMatrix> matrixOfCoefficients(uint32_t coefficients) {
  switch (coefficients) {
    case 1:
      return YuvMatrix::Bt709;
    case 5:
    case 6:
      return YuvMatrix::Bt601;
    case 9:
    case 10:
      return YuvMatrix::Bt2020;
    default:
      return std::nullopt;
  }
}

uint32_t bigEndian32(const uint8_t* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

constexpr uint32_t fourCc(const char (&name)[5]) {
  return (uint32_t(uint8_t(name[0])) << 24) | (uint32_t(uint8_t(name[1])) << 16) |
         (uint32_t(uint8_t(name[2])) << 8) | uint32_t(uint8_t(name[3]));
}

// Boxes nest at most this deep on the way to 'avcC', and no box on the way is larger.
constexpr int kDeepestBox = 8;
constexpr uint64_t kLargestSampleDescription = 1u << 20;
// A container of more boxes than this is not a media file's.
constexpr int kMostBoxes = 256;

struct Box {
  uint64_t start = 0;  // of its payload
  uint64_t end = 0;
  uint32_t type = 0;
};

// The box at `offset`, inside a parent ending at `end`; nullopt for a malformed one.
std::optional<Box> boxAt(const FileBytes& read, uint64_t offset, uint64_t end) {
  uint8_t header[16];
  if (end - offset < 8 || !read(offset, 8, header)) return std::nullopt;
  uint64_t size = bigEndian32(header);
  uint64_t headerSize = 8;
  if (size == 1) {
    if (end - offset < 16 || !read(offset + 8, 8, header + 8)) return std::nullopt;
    size = (uint64_t{bigEndian32(header + 8)} << 32) | bigEndian32(header + 12);
    headerSize = 16;
  } else if (size == 0) {
    size = end - offset;
  }
  if (size < headerSize || size > end - offset) return std::nullopt;
  return Box{offset + headerSize, offset + size, bigEndian32(header + 4)};
}

// The colour in the children of a container box, looking into the boxes that can hold a video track's 'avcC'.
std::optional<StreamColour> colourInside(const FileBytes& read, uint64_t start, uint64_t end, int depth) {
  if (depth > kDeepestBox) return std::nullopt;
  int boxes = 0;
  for (uint64_t offset = start; offset < end && ++boxes <= kMostBoxes;) {
    const std::optional<Box> box = boxAt(read, offset, end);
    if (!box) return std::nullopt;
    offset = box->end;
    switch (box->type) {
      case fourCc("moov"):
      case fourCc("trak"):
      case fourCc("mdia"):
      case fourCc("minf"):
      case fourCc("stbl"):
        if (auto colour = colourInside(read, box->start, box->end, depth + 1)) return colour;
        break;
      case fourCc("stsd"):
        // Version, flags and the entry count come before the entries.
        if (auto colour = colourInside(read, box->start + 8, box->end, depth + 1)) return colour;
        break;
      case fourCc("avc1"):
      case fourCc("avc3"):
        // A visual sample entry's fixed fields take 78 bytes before its boxes.
        if (auto colour = colourInside(read, box->start + 78, box->end, depth + 1)) return colour;
        break;
      case fourCc("avcC"): {
        const uint64_t size = box->end - box->start;
        if (size < 8 || size > kLargestSampleDescription) return std::nullopt;
        std::vector<uint8_t> record(static_cast<size_t>(size));
        if (!read(box->start, record.size(), record.data())) return std::nullopt;
        // Version, profile, compatibility, level, length size, then the parameter sets.
        if ((record[5] & 0x1f) == 0) return std::nullopt;
        const size_t spsLength = (size_t{record[6]} << 8) | record[7];
        if (spsLength > record.size() - 8) return std::nullopt;
        return h264SpsColour(record.data() + 8, spsLength);
      }
      default:
        break;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<StreamColour> h264SpsColour(const uint8_t* nal, size_t length) {
  if (!nal || length < 4 || (nal[0] & 0x1f) != 7) return std::nullopt;
  BitReader r(nal + 1, length - 1);
  const uint32_t profile = r.bits(8);
  r.bits(16);  // constraint flags and level
  r.unsignedGolomb();  // its id
  if (hasChromaFormatFields(profile)) {
    const uint32_t chromaFormat = r.unsignedGolomb();
    if (chromaFormat == 3) r.bits(1);
    r.unsignedGolomb();  // bit depths
    r.unsignedGolomb();
    r.bits(1);
    if (r.bits(1)) {
      const int lists = chromaFormat == 3 ? 12 : 8;
      for (int i = 0; i < lists && !r.failed(); ++i)
        if (r.bits(1)) skipScalingList(r, i < 6 ? 16 : 64);
    }
  }
  r.unsignedGolomb();  // log2 of the largest frame number
  const uint32_t pictureOrderType = r.unsignedGolomb();
  if (pictureOrderType == 0) {
    r.unsignedGolomb();
  } else if (pictureOrderType == 1) {
    r.bits(1);
    r.signedGolomb();
    r.signedGolomb();
    const uint32_t cycle = r.unsignedGolomb();
    if (cycle > 255) return std::nullopt;
    for (uint32_t i = 0; i < cycle && !r.failed(); ++i) r.signedGolomb();
  }
  r.unsignedGolomb();  // reference frames
  r.bits(1);
  r.unsignedGolomb();  // size in macroblocks
  r.unsignedGolomb();
  if (!r.bits(1)) r.bits(1);  // frames only, else adaptive frame/field
  r.bits(1);
  if (r.bits(1)) {  // cropping
    for (int i = 0; i < 4; ++i) r.unsignedGolomb();
  }
  if (!r.bits(1) || r.failed()) return std::nullopt;  // no VUI
  if (r.bits(1) && r.bits(8) == 255) r.bits(32);  // aspect ratio, and an explicit one
  if (r.bits(1)) r.bits(1);                       // overscan
  if (!r.bits(1) || r.failed()) return std::nullopt;  // no video signal type
  r.bits(3);  // video format
  StreamColour colour;
  colour.fullRange = r.bits(1) != 0;
  if (r.bits(1)) {
    r.bits(16);  // primaries and transfer
    colour.matrix = matrixOfCoefficients(r.bits(8));
  }
  if (r.failed()) return std::nullopt;
  return colour;
}

std::optional<StreamColour> mp4StreamColour(const FileBytes& read, uint64_t fileSize) {
  return colourInside(read, 0, fileSize, 0);
}

}  // namespace qova::media
