#pragma once
// The picture that stands for a file no frame can be taken from: a light
// symbol on a dark tile, so that the library list still shows an item.
// Drawn by hand (anti-aliased by supersampling). Platform-free.
#include "outside/media/RgbImage.h"

namespace qova::screenshot {

enum class PlaceholderKind {
  Audio,  // a file with sound only: a pair of beamed notes
  Video,  // anything else that gave no frame: a strip of film
};

constexpr int kPlaceholderWidth = 256;
constexpr int kPlaceholderHeight = 144;

// A kPlaceholderWidth x kPlaceholderHeight picture of the kind's symbol.
media::RgbImage drawPlaceholder(PlaceholderKind kind);

}  // namespace qova::screenshot
