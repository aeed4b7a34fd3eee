#include "resources/artwork/ProgramIcon.h"

#include "resources/artwork/IcoWriter.h"

namespace qova::artwork {
namespace {

constexpr uint32_t kTile = 0xFF3A8EE6;      // the accent blue of the windows
constexpr uint32_t kTileShade = 0xFF2B73C2; // its pressed shade, for the lower half
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr int kFramedFrom = 32;             // smaller icons show the symbol alone

}  // namespace

std::vector<int> programIconSizes() { return {16, 20, 24, 32, 40, 48, 64, 256}; }

// Designed on a 256-pixel grid.
Picture programIconPicture(int size) {
  const double k = size / 256.0;
  const exui::Area tileArea{12 * k, 12 * k, 244 * k, 244 * k};
  Picture picture(size, size);
  paint(picture, Mask(size, size).rounded(tileArea, 56 * k), kTile);
  Mask shade(size, size);
  shade.rounded(tileArea, 56 * k).intersect(Mask(size, size).rounded({0, 150 * k, 256 * k, 256 * k}, 0));
  paint(picture, shade, kTileShade);

  Mask symbol(size, size);
  if (size < kFramedFrom) {
    symbol.triangle(92 * k, 62 * k, 92 * k, 194 * k, 200 * k, 128 * k);
  } else {
    symbol.rounded({48 * k, 58 * k, 208 * k, 172 * k}, 16 * k);
    symbol.subtract(Mask(size, size).rounded({62 * k, 72 * k, 194 * k, 158 * k}, 6 * k));
    symbol.line(128 * k, 172 * k, 128 * k, 196 * k, 14 * k);
    symbol.line(90 * k, 200 * k, 166 * k, 200 * k, 14 * k);
    symbol.triangle(112 * k, 90 * k, 112 * k, 140 * k, 154 * k, 115 * k);
  }
  paint(picture, symbol, kWhite);
  return picture;
}

ArtworkFile programIconFile() {
  std::vector<Picture> pictures;
  for (int size : programIconSizes()) pictures.push_back(programIconPicture(size));
  return {"qova.ico", encodeIco(pictures)};
}

}  // namespace qova::artwork
