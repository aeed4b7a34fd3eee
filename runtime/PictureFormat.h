#pragma once
// Telling picture formats apart by their leading bytes, and reading the
// directory of icon and cursor files. Platform-free.
#include <cstdint>
#include <optional>
#include <string_view>

namespace qova {

enum class PictureFormat { Unknown, Bitmap, Jpeg, Png, Gif, Icon, Cursor };

// The format the leading bytes announce; Unknown for 5 bytes or fewer.
PictureFormat detectPictureFormat(std::string_view bytes);

// One image of an icon or cursor file, as its directory entry describes it.
struct IconImage {
  int width = 0;           // a stored 0 means 256
  int height = 0;
  uint32_t offset = 0;     // where the image's bytes start in the file
  uint32_t size = 0;       // how many bytes it has
  uint16_t hotspotX = 0;   // cursors only
  uint16_t hotspotY = 0;
};

// The directory entry `index` (0 for the first image) of an icon or cursor file.
// Nothing when the bytes are too short for the header, for that entry or for
// the whole image it points to, so a caller never reads past the end.
std::optional<IconImage> iconImageAt(std::string_view bytes, int index);

// The raw width and height bytes of directory entry `index`, as stored (0 for 256);
// nothing when the entry itself does not fit.
struct IconEntrySize { uint8_t width = 0; uint8_t height = 0; };
std::optional<IconEntrySize> iconEntrySizeAt(std::string_view bytes, int index);

}  // namespace qova
