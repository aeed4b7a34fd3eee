#pragma once
// Windows icon files (.ico) written without any outside library. Platform-free.
#include <cstdint>
#include <vector>

#include "resources/artwork/Canvas.h"

namespace qova::artwork {

// An icon file holding every picture (square, 1 to 256 pixels wide), in the
// order given. Pictures below 256 are stored as 32-bit bitmaps with straight
// alpha and an AND mask (what every Windows version reads); a 256-pixel
// picture as PNG, as Windows Vista and later expect it. Empty when a picture
// is not square or out of range.
std::vector<uint8_t> encodeIco(const std::vector<Picture>& pictures);

}  // namespace qova::artwork
