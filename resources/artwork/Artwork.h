#pragma once
// The program's own artwork: the pictures of the two windows' layouts, the
// play button's two skin files and the menu icons. Drawn from shapes so that
// the files in resources/ can be made again at any time
// (resources/generate-artwork). Platform-free.
#include <cstdint>
#include <string>
#include <vector>

namespace qova::artwork {

// One file of artwork: its path below resources/ ('/' separators) and bytes.
struct ArtworkFile {
  std::string path;
  std::vector<uint8_t> bytes;
};

// Every artwork file, in a fixed order:
//   layout/*.png   pictures the layouts store (embedded in the program);
//                  *_2x.png: the picture buttons' and close button's drawn for 192 DPI
//   skin_bf.ex     the play symbol, normal and pressed (shown while paused)
//   skin_zt.ex     the pause symbol, normal and pressed (shown while playing)
//   ico/*.png      the skinned menus' icons, 32 x 32
std::vector<ArtworkFile> programArtwork();

}  // namespace qova::artwork
