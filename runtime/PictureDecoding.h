#pragma once
// Decoding picture files (BMP, JPEG, PNG, GIF, ICO, CUR) into bitmaps.
#include <windows.h>

#include <string_view>

namespace qova {

// A 32-bit top-down DIB section holding the picture; icons and cursors are
// drawn at their own size on a white screen-compatible bitmap. The caller owns
// the result. 0 for 5 bytes or fewer, an unknown format or data that fails to decode.
HBITMAP decodePictureToBitmap(std::string_view bytes);

}  // namespace qova
