#pragma once
// Picture files (PNG, JPEG, BMP, GIF) decoded through WIC into premultiplied
// pixels. Each thread that decodes keeps one imaging factory, made on its
// first picture, together with its own hold on COM, for the thread's life.
#include "outside/exui/ExuiFormat.h"
#include "outside/exui/PixelImage.h"

namespace qova::exui {

// The first frame of the file; an empty image when it does not decode.
PixelImage decodeWithWic(ByteView bytes);

}  // namespace qova::exui
