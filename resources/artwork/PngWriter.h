#pragma once
// PNG files written without any outside library, so that the artwork
// generator builds with nothing but a C++ compiler, on the build machine or
// for Windows, and gives the same bytes for the same pixels everywhere.
// Platform-free.
#include <cstdint>
#include <span>
#include <vector>

#include "resources/artwork/Canvas.h"

namespace qova::artwork {

// An 8-bit RGBA PNG file of the picture; empty for an empty picture.
// Fully transparent pixels are written as transparent black.
std::vector<uint8_t> encodePng(const Picture& picture);

// A zlib stream of the bytes (one final deflate block with the fixed codes).
std::vector<uint8_t> zlibCompress(std::span<const uint8_t> bytes);

// The CRC-32 of PNG chunks and zip files.
uint32_t crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);

// The Adler-32 checksum that ends a zlib stream.
uint32_t adler32(std::span<const uint8_t> bytes);

}  // namespace qova::artwork
