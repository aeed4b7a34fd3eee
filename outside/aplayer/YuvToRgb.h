#pragma once
// The affine map from normalised Y, U, V samples (0..1, as a graphics card
// reads 8-bit and 16-bit textures) to R, G, B for a matrix and a range: what
// the presenting shader multiplies with. Platform-free.
#include <array>

#include "outside/media/FrameConversion.h"

namespace qova::aplayer {

// Rows for R, G and B, each (factor of Y, of U, of V, constant).
using YuvToRgbRows = std::array<std::array<float, 4>, 3>;

constexpr YuvToRgbRows yuvToRgbRows(media::YuvMatrix matrix, bool fullRange) {
  const double kr = matrix == media::YuvMatrix::Bt709    ? 0.2126
                    : matrix == media::YuvMatrix::Bt2020 ? 0.2627
                                                              : 0.299;
  const double kb = matrix == media::YuvMatrix::Bt709    ? 0.0722
                    : matrix == media::YuvMatrix::Bt2020 ? 0.0593
                                                              : 0.114;
  const double kg = 1.0 - kr - kb;
  const double yScale = fullRange ? 1.0 : 255.0 / 219.0;
  const double yOffset = fullRange ? 0.0 : 16.0 / 255.0;
  const double cScale = fullRange ? 1.0 : 255.0 / 224.0;
  const double cCentre = 128.0 / 255.0;
  const double rFromV = 2.0 * (1.0 - kr) * cScale;
  const double gFromU = -2.0 * (1.0 - kb) * kb / kg * cScale;
  const double gFromV = -2.0 * (1.0 - kr) * kr / kg * cScale;
  const double bFromU = 2.0 * (1.0 - kb) * cScale;
  const double base = -yScale * yOffset;
  return {{{static_cast<float>(yScale), 0.0f, static_cast<float>(rFromV), static_cast<float>(base - rFromV * cCentre)},
           {static_cast<float>(yScale), static_cast<float>(gFromU), static_cast<float>(gFromV),
            static_cast<float>(base - (gFromU + gFromV) * cCentre)},
           {static_cast<float>(yScale), static_cast<float>(bFromU), 0.0f,
            static_cast<float>(base - bFromU * cCentre)}}};
}

}  // namespace qova::aplayer
