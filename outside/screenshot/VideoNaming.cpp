#include "outside/screenshot/VideoNaming.h"

namespace qova::screenshot {
namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr std::string_view kFileNameUnsafe = "\\/:*?\"<>|#%";

bool isControl(unsigned char byte) { return byte < 0x20 || byte == 0x7f; }

// Bytes taken by the character at `at`: 2 for a lead byte with a trail after it, else 1.
size_t characterLength(std::string_view text, size_t at, LeadByteTest isLeadByte) {
  const bool twoBytes = isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size();
  return twoBytes ? 2 : 1;
}

// Calls visit(offset, length) for every character of `text`, in order.
template <typename Visit>
void forEachCharacter(std::string_view text, LeadByteTest isLeadByte, Visit visit) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = characterLength(text, at, isLeadByte);
    visit(at, length);
    at += length;
  }
}

// Where the file name of `path` starts, and where its extension's dot is
// (npos when it has none; a leading dot starts the name rather than an extension).
struct FileNameParts {
  size_t nameStart = 0;
  size_t extensionDot = std::string_view::npos;
};

FileNameParts fileNameParts(std::string_view path, LeadByteTest isLeadByte) {
  FileNameParts parts;
  forEachCharacter(path, isLeadByte, [&](size_t at, size_t length) {
    if (length != 1) return;
    if (path[at] == '\\' || path[at] == '/') {
      parts.nameStart = at + 1;
      parts.extensionDot = std::string_view::npos;
    } else if (path[at] == '.') {
      parts.extensionDot = at;
    }
  });
  if (parts.extensionDot != std::string_view::npos && parts.extensionDot == parts.nameStart)
    parts.extensionDot = std::string_view::npos;
  return parts;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool isGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xfe; }

std::string fileStem(std::string_view path, LeadByteTest isLeadByte) {
  const FileNameParts parts = fileNameParts(path, isLeadByte);
  const size_t nameEnd = parts.extensionDot != std::string_view::npos ? parts.extensionDot : path.size();
  return std::string(path.substr(parts.nameStart, nameEnd - parts.nameStart));
}

bool hasSoundExtension(std::string_view path, LeadByteTest isLeadByte) {
  const FileNameParts parts = fileNameParts(path, isLeadByte);
  if (parts.extensionDot == std::string_view::npos) return false;
  std::string extension(path.substr(parts.extensionDot + 1));
  for (char& c : extension) c = asciiLower(c);
  for (std::string_view sound : {"mp3", "wav", "wma", "flac", "ape", "aac", "m4a", "ogg", "oga", "opus", "aiff", "aif",
                                 "ac3", "mid", "midi", "amr"})
    if (extension == sound) return true;
  return false;
}

std::string recordSafeText(std::string_view text) {
  std::string safe(text);
  for (char& c : safe) {
    if (c == '>') c = '_';
    else if (isControl(static_cast<unsigned char>(c))) c = ' ';
  }
  return safe;
}

std::string videoDisplayName(std::string_view videoPath, LeadByteTest isLeadByte) {
  return recordSafeText(fileStem(videoPath, isLeadByte));
}

std::string_view cutAtCharacter(std::string_view text, size_t maxBytes, LeadByteTest isLeadByte) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t length = characterLength(text, end, isLeadByte);
    if (end + length > maxBytes) break;
    end += length;
  }
  return text.substr(0, end);
}

uint64_t fnv1a64(std::string_view bytes, uint64_t hash) {
  for (char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

uint64_t videoIdentity(std::string_view fullPath, uint64_t size, uint64_t lastWriteTime) {
  // The numbers go in as fixed-width bytes so that no path can imitate them.
  auto withNumber = [](uint64_t hash, uint64_t number) {
    char bytes[8];
    for (char& b : bytes) {
      b = static_cast<char>(number & 0xff);
      number >>= 8;
    }
    return fnv1a64(std::string_view(bytes, sizeof bytes), hash);
  };
  uint64_t hash = withNumber(kFnvOffsetBasis, fullPath.size());
  hash = fnv1a64(fullPath, hash);
  hash = withNumber(hash, size);
  return withNumber(hash, lastWriteTime);
}

std::string thumbnailFileName(std::string_view displayName, uint64_t identity, LeadByteTest isLeadByte) {
  const std::string_view shortName = cutAtCharacter(displayName, kThumbnailNameBytes, isLeadByte);
  std::string name;
  forEachCharacter(shortName, isLeadByte, [&](size_t at, size_t length) {
    const char c = shortName[at];
    const bool unsafe = length == 1 && (isControl(static_cast<unsigned char>(c)) ||
                                        kFileNameUnsafe.find(c) != std::string_view::npos);
    if (unsafe) name.push_back('_');
    else name.append(shortName.substr(at, length));
  });
  name.push_back('_');
  for (int shift = 60; shift >= 0; shift -= 4) name.push_back(kHexDigits[(identity >> shift) & 0xf]);
  name.append(".jpg");
  return name;
}

}  // namespace qova::screenshot
