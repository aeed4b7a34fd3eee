#include "outside/exui/ExuiFormat.h"

#include <algorithm>
#include <cstring>

namespace qova::exui {
namespace {

constexpr uint8_t kImageSetMagic[4] = {'E', 'X', 'I', 'S'};
constexpr uint8_t kFontMagic[4] = {'E', 'X', 'F', 'T'};
constexpr size_t kEntryHeader = 8;  // id, kind, length
constexpr size_t kFontHeader = 24;  // magic and five int32

void put16(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(Bytes& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint16_t get16(ByteView bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

uint32_t get32(ByteView bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<uint32_t>(bytes[at + 2]) << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

void putBytes(Bytes& out, ByteView bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

bool startsWith(ByteView bytes, ByteView prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

void putEntry(Bytes& out, int32_t id, ExuiValueKind kind, ByteView value) {
  put16(out, static_cast<uint16_t>(id));
  put16(out, static_cast<uint16_t>(kind));
  put32(out, static_cast<uint32_t>(value.size()));
  putBytes(out, value);
}

Bytes header() {
  Bytes out(std::begin(kExuiPropertyPrefix), std::end(kExuiPropertyPrefix));
  put16(out, kExuiPropertyVersion);
  return out;
}

Bytes int32Bytes(std::span<const int32_t> values) {
  Bytes out;
  for (int32_t value : values) put32(out, static_cast<uint32_t>(value));
  return out;
}

}  // namespace

PropertyWriter& PropertyWriter::entry(int32_t id, ExuiValueKind kind, ByteView value) {
  putEntry(entries_, id, kind, value);
  return *this;
}

PropertyWriter& PropertyWriter::integer(int32_t id, int32_t value) {
  const int32_t values[] = {value};
  return entry(id, ExuiValueKind::Integer, int32Bytes(values));
}

PropertyWriter& PropertyWriter::integers(int32_t id, std::initializer_list<int32_t> values) {
  return entry(id, ExuiValueKind::Integers, int32Bytes({values.begin(), values.size()}));
}

PropertyWriter& PropertyWriter::text(int32_t id, std::u16string_view text) {
  return entry(id, ExuiValueKind::Text, utf16Bytes(text));
}

PropertyWriter& PropertyWriter::picture(int32_t id, ByteView bytes) {
  return entry(id, ExuiValueKind::Picture, bytes);
}

PropertyWriter& PropertyWriter::imageSet(int32_t id, const std::vector<Bytes>& pictures) {
  return entry(id, ExuiValueKind::ImageSet, encodeImageSet(pictures));
}

Bytes PropertyWriter::data() const {
  Bytes out = header();
  putBytes(out, entries_);
  return out;
}

bool PropertySet::hasPrefix(ByteView data) { return startsWith(data, kExuiPropertyPrefix); }

PropertySet PropertySet::parse(ByteView data) {
  PropertySet set;
  if (!hasPrefix(data)) return set;
  size_t at = sizeof kExuiPropertyPrefix + 2;  // the version: every version so far reads alike
  while (at + kEntryHeader <= data.size()) {
    const int32_t id = get16(data, at);
    const auto kind = static_cast<ExuiValueKind>(get16(data, at + 2));
    const size_t length = get32(data, at + 4);
    at += kEntryHeader;
    if (length > data.size() - at) break;
    set.setBytes(id, kind, data.subspan(at, length));
    at += length;
  }
  return set;
}

ByteView PropertySet::bytes(int32_t id) const {
  auto found = values_.find(id);
  return found == values_.end() ? ByteView{} : ByteView(found->second.bytes);
}

std::optional<ExuiValueKind> PropertySet::kind(int32_t id) const {
  auto found = values_.find(id);
  if (found == values_.end()) return std::nullopt;
  return found->second.kind;
}

int32_t PropertySet::integer(int32_t id, int32_t fallback) const {
  ByteView value = bytes(id);
  return value.size() >= 4 ? static_cast<int32_t>(get32(value, 0)) : fallback;
}

std::vector<int32_t> PropertySet::integers(int32_t id, std::vector<int32_t> fallback) const {
  ByteView value = bytes(id);
  if (value.size() / 4 < fallback.size() || value.empty()) return fallback;
  std::vector<int32_t> out;
  for (size_t at = 0; at + 4 <= value.size(); at += 4) out.push_back(static_cast<int32_t>(get32(value, at)));
  return out;
}

std::u16string PropertySet::text(int32_t id) const { return textFromUtf16Bytes(bytes(id)); }

void PropertySet::setInteger(int32_t id, int32_t value) {
  const int32_t values[] = {value};
  setBytes(id, ExuiValueKind::Integer, int32Bytes(values));
}

void PropertySet::setBytes(int32_t id, ExuiValueKind kind, ByteView bytes) {
  values_[id] = PropertyValue{kind, Bytes(bytes.begin(), bytes.end())};
}

Bytes PropertySet::encode() const {
  Bytes out = header();
  for (const auto& [id, value] : values_) putEntry(out, id, value.kind, value.bytes);
  return out;
}

Bytes encodeImageSet(const std::vector<Bytes>& pictures) {
  Bytes out(std::begin(kImageSetMagic), std::end(kImageSetMagic));
  put32(out, static_cast<uint32_t>(pictures.size()));
  for (const Bytes& picture : pictures) {
    put32(out, static_cast<uint32_t>(picture.size()));
    putBytes(out, picture);
  }
  return out;
}

std::vector<Bytes> decodeImageSet(ByteView bytes) {
  std::vector<Bytes> pictures;
  if (bytes.empty()) return pictures;
  if (!startsWith(bytes, kImageSetMagic)) {
    pictures.emplace_back(bytes.begin(), bytes.end());
    return pictures;
  }
  if (bytes.size() < 8) return pictures;
  const uint32_t count = get32(bytes, 4);
  size_t at = 8;
  for (uint32_t i = 0; i < count && at + 4 <= bytes.size(); ++i) {
    const size_t length = get32(bytes, at);
    at += 4;
    if (length > bytes.size() - at) break;
    pictures.emplace_back(bytes.begin() + static_cast<ptrdiff_t>(at),
                          bytes.begin() + static_cast<ptrdiff_t>(at + length));
    at += length;
  }
  return pictures;
}

Bytes packFontInfo(const ExuiFontInfo& info) {
  Bytes out(std::begin(kFontMagic), std::end(kFontMagic));
  const int32_t numbers[] = {info.height, info.bold ? 1 : 0, info.italic ? 1 : 0,
                             info.underline ? 1 : 0, info.strikeOut ? 1 : 0};
  putBytes(out, int32Bytes(numbers));
  size_t length = 0;
  while (length < std::size(info.face) && info.face[length] != 0) ++length;
  putBytes(out, utf16Bytes(std::u16string_view(info.face, length)));
  return out;
}

std::optional<FontDescription> unpackFontInfo(ByteView bytes) {
  if (!startsWith(bytes, kFontMagic) || bytes.size() < kFontHeader) return std::nullopt;
  FontDescription font;
  font.height = static_cast<int32_t>(get32(bytes, 4));
  font.bold = get32(bytes, 8) != 0;
  font.italic = get32(bytes, 12) != 0;
  font.underline = get32(bytes, 16) != 0;
  font.strikeOut = get32(bytes, 20) != 0;
  font.face = textFromUtf16Bytes(bytes.subspan(kFontHeader));
  return font;
}

Bytes makeByteBlock(ByteView bytes) {
  Bytes out;
  put32(out, 1);
  put32(out, static_cast<uint32_t>(bytes.size()));
  putBytes(out, bytes);
  return out;
}

ByteView byteBlockBytes(const void* block) {
  if (!block) return {};
  int32_t length = 0;
  std::memcpy(&length, static_cast<const uint8_t*>(block) + 4, sizeof length);
  if (length <= 0) return {};
  return ByteView(static_cast<const uint8_t*>(block) + 8, static_cast<size_t>(length));
}

Bytes integersBytes(std::span<const int32_t> values) { return int32Bytes(values); }

Bytes utf16Bytes(std::u16string_view text, size_t nulBytes) {
  Bytes out;
  out.reserve(text.size() * 2 + nulBytes);
  for (char16_t unit : text) put16(out, static_cast<uint16_t>(unit));
  out.insert(out.end(), nulBytes, 0);
  return out;
}

std::u16string textFromUtf16Bytes(ByteView bytes) {
  std::u16string text;
  for (size_t at = 0; at + 2 <= bytes.size(); at += 2) {
    const auto unit = static_cast<char16_t>(get16(bytes, at));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

}  // namespace qova::exui
