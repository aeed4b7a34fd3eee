#pragma once
// JPEG files from pictures, with WIC.
#include <string>

#include "outside/media/RgbImage.h"

namespace qova::screenshot {

// Quality of the thumbnails, 0..1.
constexpr float kJpegQuality = 0.9f;

// The bytes of a JPEG file of the picture; empty for an empty picture or when
// WIC fails. Needs COM on the calling thread.
std::string encodeJpeg(const media::RgbImage& image);

}  // namespace qova::screenshot
