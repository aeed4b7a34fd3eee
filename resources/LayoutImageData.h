#pragma once
// The table EmbedFiles.cmake generates from the files of resources/layout/.
#include <cstddef>
#include <span>

namespace qova {

struct EmbeddedFile {
  const char* name;
  const unsigned char* bytes;
  std::size_t size;
};

// Every embedded file, sorted by name.
std::span<const EmbeddedFile> embeddedLayoutImages();

}  // namespace qova
