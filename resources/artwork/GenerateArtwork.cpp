// Writes every artwork file of the program into a folder (resources/ of the
// source tree when run by resources/generate-artwork), the program's icon with them.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "resources/artwork/Artwork.h"
#include "resources/artwork/ProgramIcon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::vector<qova::artwork::ArtworkFile> files = qova::artwork::programArtwork();
  files.push_back(qova::artwork::programIconFile());
  for (const qova::artwork::ArtworkFile& file : files) {
    const std::filesystem::path path = folder / std::filesystem::u8path(file.path);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
      return 1;
    }
    std::printf("%7zu  %s\n", file.bytes.size(), file.path.c_str());
  }
  return 0;
}
