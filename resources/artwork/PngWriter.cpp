#include "resources/artwork/PngWriter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace qova::artwork {
namespace {

// Deflate's bit stream: values go in least significant bit first, Huffman
// codes most significant bit first.
class BitWriter {
 public:
  void bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bit((value >> i) & 1u);
  }
  void code(uint32_t value, int length) {
    for (int i = length - 1; i >= 0; --i) bit((value >> i) & 1u);
  }
  std::vector<uint8_t> finish() {
    if (filled_ > 0) bytes_.push_back(static_cast<uint8_t>(buffer_));
    buffer_ = 0;
    filled_ = 0;
    return std::move(bytes_);
  }

 private:
  void bit(uint32_t value) {
    buffer_ |= value << filled_;
    if (++filled_ == 8) {
      bytes_.push_back(static_cast<uint8_t>(buffer_));
      buffer_ = 0;
      filled_ = 0;
    }
  }

  std::vector<uint8_t> bytes_;
  uint32_t buffer_ = 0;
  int filled_ = 0;
};

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                    33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

constexpr size_t kWindow = 32768;
constexpr size_t kMinimumMatch = 3;
constexpr size_t kMaximumMatch = 258;
constexpr int kChainLimit = 128;
constexpr uint32_t kHashBits = 15;

// A literal byte or a length code with the fixed Huffman codes.
void writeSymbol(BitWriter& out, uint32_t symbol) {
  if (symbol < 144)
    out.code(0x30 + symbol, 8);
  else if (symbol < 256)
    out.code(0x190 + symbol - 144, 9);
  else if (symbol < 280)
    out.code(symbol - 256, 7);
  else
    out.code(0xC0 + symbol - 280, 8);
}

void writeMatch(BitWriter& out, size_t length, size_t distance) {
  size_t lengthCode = kLengthBase.size() - 1;
  while (kLengthBase[lengthCode] > length) --lengthCode;
  writeSymbol(out, static_cast<uint32_t>(257 + lengthCode));
  out.bits(static_cast<uint32_t>(length - kLengthBase[lengthCode]), kLengthExtra[lengthCode]);
  size_t distanceCode = kDistanceBase.size() - 1;
  while (kDistanceBase[distanceCode] > distance) --distanceCode;
  out.code(static_cast<uint32_t>(distanceCode), 5);
  out.bits(static_cast<uint32_t>(distance - kDistanceBase[distanceCode]), kDistanceExtra[distanceCode]);
}

// One final block with the fixed codes; matches found greedily through hash chains.
std::vector<uint8_t> deflateFixed(std::span<const uint8_t> data) {
  BitWriter out;
  out.bits(1, 1);  // final block
  out.bits(1, 2);  // fixed Huffman codes
  const size_t size = data.size();
  std::vector<int64_t> head(size_t{1} << kHashBits, -1);
  std::vector<int64_t> previous(size, -1);
  auto hashAt = [&](size_t i) {
    return ((uint32_t{data[i]} << 10) ^ (uint32_t{data[i + 1]} << 5) ^ data[i + 2]) & ((1u << kHashBits) - 1);
  };
  auto remember = [&](size_t i) {
    if (i + kMinimumMatch > size) return;
    const uint32_t hash = hashAt(i);
    previous[i] = head[hash];
    head[hash] = static_cast<int64_t>(i);
  };

  size_t at = 0;
  while (at < size) {
    size_t bestLength = 0;
    size_t bestDistance = 0;
    if (at + kMinimumMatch <= size) {
      const size_t limit = std::min(kMaximumMatch, size - at);
      int64_t candidate = head[hashAt(at)];
      for (int chain = 0; candidate >= 0 && chain < kChainLimit; ++chain) {
        const size_t start = static_cast<size_t>(candidate);
        if (at - start > kWindow) break;
        size_t length = 0;
        while (length < limit && data[start + length] == data[at + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestDistance = at - start;
          if (length == limit) break;
        }
        candidate = previous[start];
      }
    }
    if (bestLength >= kMinimumMatch) {
      writeMatch(out, bestLength, bestDistance);
      for (size_t i = 0; i < bestLength; ++i) remember(at + i);
      at += bestLength;
    } else {
      writeSymbol(out, data[at]);
      remember(at);
      ++at;
    }
  }
  writeSymbol(out, 256);  // end of block
  return out.finish();
}

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void appendChunk(std::vector<uint8_t>& png, std::string_view type, std::span<const uint8_t> data) {
  appendBigEndian(png, static_cast<uint32_t>(data.size()));
  const size_t typeAt = png.size();
  png.insert(png.end(), type.begin(), type.end());
  png.insert(png.end(), data.begin(), data.end());
  appendBigEndian(png, crc32(std::span<const uint8_t>(png).subspan(typeAt)));
}

uint8_t paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<uint8_t>(left);
  return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Row `row` filtered with each of the five filters; the one whose bytes, read
// as signed, sum to the least (the usual choice of encoders).
std::vector<uint8_t> filteredRow(std::span<const uint8_t> row, std::span<const uint8_t> above) {
  constexpr size_t kPixelBytes = 4;
  std::vector<uint8_t> best;
  long bestCost = -1;
  for (uint8_t filter = 0; filter < 5; ++filter) {
    std::vector<uint8_t> out{filter};
    long cost = 0;
    for (size_t i = 0; i < row.size(); ++i) {
      const int left = i >= kPixelBytes ? row[i - kPixelBytes] : 0;
      const int up = above.empty() ? 0 : above[i];
      const int upLeft = (i >= kPixelBytes && !above.empty()) ? above[i - kPixelBytes] : 0;
      int predicted = 0;
      switch (filter) {
        case 1: predicted = left; break;
        case 2: predicted = up; break;
        case 3: predicted = (left + up) / 2; break;
        case 4: predicted = paeth(left, up, upLeft); break;
        default: break;
      }
      const auto value = static_cast<uint8_t>(row[i] - predicted);
      out.push_back(value);
      cost += std::abs(static_cast<int8_t>(value));
    }
    if (bestCost < 0 || cost < bestCost) {
      bestCost = cost;
      best = std::move(out);
    }
  }
  return best;
}

}  // namespace

uint32_t crc32(std::span<const uint8_t> bytes, uint32_t crc) {
  crc = ~crc;
  for (uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint32_t adler32(std::span<const uint8_t> bytes) {
  uint32_t a = 1;
  uint32_t b = 0;
  for (uint8_t byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> zlibCompress(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> out = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary
  const std::vector<uint8_t> deflated = deflateFixed(bytes);
  out.insert(out.end(), deflated.begin(), deflated.end());
  appendBigEndian(out, adler32(bytes));
  return out;
}

std::vector<uint8_t> encodePng(const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  const size_t rowBytes = static_cast<size_t>(picture.width) * 4;
  std::vector<uint8_t> raw;
  std::vector<uint8_t> row(rowBytes);
  std::vector<uint8_t> above;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t pixel = picture.at(x, y);
      const uint32_t kept = (pixel >> 24) == 0 ? 0u : pixel;
      uint8_t* rgba = &row[static_cast<size_t>(x) * 4];
      rgba[0] = static_cast<uint8_t>(kept >> 16);
      rgba[1] = static_cast<uint8_t>(kept >> 8);
      rgba[2] = static_cast<uint8_t>(kept);
      rgba[3] = static_cast<uint8_t>(kept >> 24);
    }
    const std::vector<uint8_t> filtered = filteredRow(row, above);
    raw.insert(raw.end(), filtered.begin(), filtered.end());
    above = row;
  }

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  appendBigEndian(header, static_cast<uint32_t>(picture.width));
  appendBigEndian(header, static_cast<uint32_t>(picture.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits per channel, RGBA, deflate, no interlace
  appendChunk(png, "IHDR", header);
  appendChunk(png, "IDAT", zlibCompress(raw));
  appendChunk(png, "IEND", {});
  return png;
}

}  // namespace qova::artwork
