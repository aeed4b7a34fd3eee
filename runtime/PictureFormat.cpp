#include "runtime/PictureFormat.h"

namespace qova {
namespace {

constexpr size_t kIconHeaderSize = 6;
constexpr size_t kIconEntrySize = 16;

uint32_t readLittleEndian(std::string_view bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

std::optional<size_t> entryOffset(std::string_view bytes, int index) {
  if (index < 0) return std::nullopt;
  const size_t at = kIconHeaderSize + kIconEntrySize * static_cast<size_t>(index);
  if (bytes.size() < at + kIconEntrySize) return std::nullopt;
  return at;
}

}  // namespace

PictureFormat detectPictureFormat(std::string_view bytes) {
  if (bytes.size() <= 5) return PictureFormat::Unknown;
  using namespace std::string_view_literals;
  if (startsWith(bytes, "BM"sv)) return PictureFormat::Bitmap;
  if (startsWith(bytes, "\xFF\xD8"sv)) return PictureFormat::Jpeg;
  if (startsWith(bytes, "\x89PNG"sv)) return PictureFormat::Png;
  if (startsWith(bytes, "GIF8"sv)) return PictureFormat::Gif;
  if (startsWith(bytes, "\x00\x00\x01\x00"sv)) return PictureFormat::Icon;
  if (startsWith(bytes, "\x00\x00\x02\x00"sv)) return PictureFormat::Cursor;
  return PictureFormat::Unknown;
}

std::optional<IconEntrySize> iconEntrySizeAt(std::string_view bytes, int index) {
  auto at = entryOffset(bytes, index);
  if (!at) return std::nullopt;
  return IconEntrySize{static_cast<uint8_t>(bytes[*at]), static_cast<uint8_t>(bytes[*at + 1])};
}

std::optional<IconImage> iconImageAt(std::string_view bytes, int index) {
  auto at = entryOffset(bytes, index);
  if (!at) return std::nullopt;
  IconImage image;
  image.width = static_cast<unsigned char>(bytes[*at]);
  image.height = static_cast<unsigned char>(bytes[*at + 1]);
  if (image.width == 0) image.width = 256;
  if (image.height == 0) image.height = 256;
  image.hotspotX = static_cast<uint16_t>(readLittleEndian(bytes, *at + 4, 2));
  image.hotspotY = static_cast<uint16_t>(readLittleEndian(bytes, *at + 6, 2));
  image.size = readLittleEndian(bytes, *at + 8, 4);
  image.offset = readLittleEndian(bytes, *at + 12, 4);
  if (image.size == 0 || image.offset > bytes.size() || image.size > bytes.size() - image.offset)
    return std::nullopt;
  return image;
}

}  // namespace qova
