#pragma once
// The library's fonts, made once and kept for the life of the process.
#include <windows.h>

#include <string>

namespace qova::exui {

struct FontDescription;

// The UI face at `height` pixels; the stock GUI font if it cannot be made.
HFONT uiFont(int height, bool bold = false);
// A font as described (packed font information); uiFont's fallback for an
// empty face or a height of 0.
HFONT describedFont(const FontDescription& description);

}  // namespace qova::exui
