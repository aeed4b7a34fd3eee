#pragma once
// Scaling a BGRX picture with bilinear filtering, for the GDI path: GDI's own
// filtered stretch (HALFTONE) costs ten times as much under Wine, and its
// nearest-neighbour stretch doubles pixels. Platform-free.
#include <cstddef>
#include <cstdint>

#include "outside/aplayer/PictureFit.h"

namespace qova::aplayer {

struct BgrxView {
  const uint8_t* pixels = nullptr;  // top row first
  int width = 0;
  int height = 0;
  size_t stride = 0;  // bytes from one row to the next
};

// `area` of `source` (clamped to the picture) resampled to `width` x `height`
// BGRX pixels at `target`, rows `targetStride` bytes apart; each target
// pixel's centre is mapped into the area and the four source pixels around
// it are blended. False, with nothing written, when either side is empty.
bool scaleBilinear(const BgrxView& source, PictureRect area, uint8_t* target, int width, int height,
                   size_t targetStride);

}  // namespace qova::aplayer
