#pragma once
// Cutting a skin picture into nine parts: corners kept at their size, edges
// stretched along one axis, the middle along both. Platform-free.
#include <vector>

#include "outside/exui/Geometry.h"

namespace qova::exui {

struct NinePiece {
  Box source;  // in the picture
  Box target;  // in the destination
};

// The non-empty pieces that draw a width x height picture into `target`.
// Margins wider than the picture or the target shrink to fit, keeping their
// proportions; negative margins count as 0.
std::vector<NinePiece> nineGrid(int width, int height, Margins margins, const Box& target);

}  // namespace qova::exui
