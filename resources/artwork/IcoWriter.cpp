#include "resources/artwork/IcoWriter.h"

#include "resources/artwork/PngWriter.h"

namespace qova::artwork {
namespace {

constexpr int kLargestIcon = 256;
constexpr uint32_t kIconDirectorySize = 6;
constexpr uint32_t kIconEntrySize = 16;
constexpr uint32_t kBitmapHeaderSize = 40;

void appendLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// BITMAPINFOHEADER (twice the height: colour rows, then the mask's rows),
// colour rows bottom-up as BGRA, then the 1-bit AND mask, rows padded to 32 bits.
std::vector<uint8_t> iconBitmap(const Picture& picture) {
  const auto size = static_cast<uint32_t>(picture.width);
  const uint32_t maskStride = (size + 31) / 32 * 4;
  std::vector<uint8_t> out;
  appendLittleEndian(out, kBitmapHeaderSize, 4);
  appendLittleEndian(out, size, 4);
  appendLittleEndian(out, size * 2, 4);
  appendLittleEndian(out, 1, 2);   // planes
  appendLittleEndian(out, 32, 2);  // bits per pixel
  appendLittleEndian(out, 0, 4);   // BI_RGB
  appendLittleEndian(out, size * size * 4 + maskStride * size, 4);
  for (int i = 0; i < 4; ++i) appendLittleEndian(out, 0, 4);  // resolution, palette
  for (int y = picture.height - 1; y >= 0; --y)
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t pixel = picture.at(x, y);
      appendLittleEndian(out, (pixel >> 24) == 0 ? 0u : pixel, 4);
    }
  for (int y = picture.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < picture.width; ++x)
      if ((picture.at(x, y) >> 24) == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

std::vector<uint8_t> encodeIco(const std::vector<Picture>& pictures) {
  std::vector<std::vector<uint8_t>> images;
  for (const Picture& picture : pictures) {
    if (picture.width != picture.height || picture.width < 1 || picture.width > kLargestIcon) return {};
    images.push_back(picture.width == kLargestIcon ? encodePng(picture) : iconBitmap(picture));
  }
  std::vector<uint8_t> out;
  appendLittleEndian(out, 0, 2);  // reserved
  appendLittleEndian(out, 1, 2);  // an icon, not a cursor
  appendLittleEndian(out, static_cast<uint32_t>(images.size()), 2);
  auto offset = static_cast<uint32_t>(kIconDirectorySize + kIconEntrySize * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const auto size = static_cast<uint32_t>(pictures[i].width);
    appendLittleEndian(out, size % kLargestIcon, 1);  // 0 stands for 256
    appendLittleEndian(out, size % kLargestIcon, 1);
    appendLittleEndian(out, 0, 1);   // no palette
    appendLittleEndian(out, 0, 1);
    appendLittleEndian(out, 1, 2);   // planes
    appendLittleEndian(out, 32, 2);  // bits per pixel
    appendLittleEndian(out, static_cast<uint32_t>(images[i].size()), 4);
    appendLittleEndian(out, offset, 4);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const std::vector<uint8_t>& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace qova::artwork
