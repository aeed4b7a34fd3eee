#include "outside/exui/NineGrid.h"

#include <algorithm>
#include <array>

namespace qova::exui {
namespace {

// Two margins along one axis made to fit both the picture and the target.
std::array<int, 2> fitted(int first, int second, int pictureSize, int targetSize) {
  first = std::max(first, 0);
  second = std::max(second, 0);
  const int limit = std::min(pictureSize, targetSize);
  const int total = first + second;
  if (total > limit && total > 0) {
    first = first * limit / total;
    second = limit - first;
    if (second > 0 && first + second > limit) second = limit - first;
  }
  return {first, second};
}

}  // namespace

std::vector<NinePiece> nineGrid(int width, int height, Margins margins, const Box& target) {
  std::vector<NinePiece> pieces;
  if (width <= 0 || height <= 0 || target.empty()) return pieces;
  const auto [left, right] = fitted(margins.left, margins.right, width, target.width());
  const auto [top, bottom] = fitted(margins.top, margins.bottom, height, target.height());
  const std::array<int, 4> sourceX{0, left, width - right, width};
  const std::array<int, 4> sourceY{0, top, height - bottom, height};
  const std::array<int, 4> targetX{target.left, target.left + left, target.right - right, target.right};
  const std::array<int, 4> targetY{target.top, target.top + top, target.bottom - bottom, target.bottom};
  for (size_t row = 0; row < 3; ++row)
    for (size_t column = 0; column < 3; ++column) {
      NinePiece piece{{sourceX[column], sourceY[row], sourceX[column + 1], sourceY[row + 1]},
                      {targetX[column], targetY[row], targetX[column + 1], targetY[row + 1]}};
      if (!piece.source.empty() && !piece.target.empty()) pieces.push_back(piece);
    }
  return pieces;
}

}  // namespace qova::exui
