#pragma once
// The program's own icon: a blue tile with a white screen and a play symbol,
// drawn anew for every size so that small sizes stay sharp (below 32 pixels
// the screen's frame is left out and the symbol fills the tile). Stored as
// resources/qova.ico and carried by qova.exe as icon resource 1; drawn again
// by resources/generate-artwork. Platform-free.
#include <vector>

#include "resources/artwork/Artwork.h"
#include "resources/artwork/Canvas.h"

namespace qova::artwork {

// The sizes the icon file holds, smallest first: the small and large icons
// at 100 % to 250 % scaling, and 256 for large views.
std::vector<int> programIconSizes();

// The icon drawn at `size` x `size` pixels.
Picture programIconPicture(int size);

// resources/qova.ico: every size of programIconSizes(), in that order.
ArtworkFile programIconFile();

}  // namespace qova::artwork
