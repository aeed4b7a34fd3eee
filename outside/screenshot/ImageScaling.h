#pragma once
// Resizing pictures for thumbnails. Platform-free.
#include "outside/media/RgbImage.h"

namespace qova::screenshot {

// The height of a picture `width` pixels wide showing `sourceWidth` x
// `sourceHeight` pixels whose pixel aspect ratio is `pixelAspectNumerator` :
// `pixelAspectDenominator` (0 in either means square pixels). At least 1 and at
// most 4 x `width`; 0 when `width` or the source size is not positive.
int heightForWidth(int width, int sourceWidth, int sourceHeight, int pixelAspectNumerator = 0,
                   int pixelAspectDenominator = 0);

// `source` resampled to `width` x `height` with a triangle filter as wide as
// the scale factor, so that shrinking averages every source pixel and
// enlarging interpolates. Empty when either image is empty.
media::RgbImage resizeImage(const media::RgbImage& source, int width, int height);

}  // namespace qova::screenshot
