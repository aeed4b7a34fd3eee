#pragma once
// The order the library's entries play in: the library's own ("顺序"), or
// shuffled ("随机"): every entry once per round, each round in a new random
// order, and never the same entry twice in a row where one round meets the
// next. Previous and next walk the round; a click elsewhere in the list, or
// a library that changed, takes the round from where playback then stands.
// Platform-free.
#include <cstdint>
#include <random>
#include <vector>

#include "library/VideoLibrary.h"

namespace qova {

class PlayOrder {
 public:
  PlayOrder();
  // The same seed gives the same rounds.
  void seed(uint32_t seed) { random_.seed(seed); }

  // The entry to begin with: 1 in the library's order, the first of a new round shuffled.
  int first(const VideoLibrary& library, bool shuffled);
  // As nextIndex and previousIndex (VideoLibrary.h) in the library's order:
  // the position is stored in currentIndex and returned.
  int next(VideoLibrary& library, bool shuffled);
  int previous(VideoLibrary& library, bool shuffled);

 private:
  // The round holds every entry of the library and stands at its currentIndex.
  void follow(const VideoLibrary& library);
  // A new random round of `count` entries that does not begin with `last`.
  void newRound(int count, int last);

  std::vector<int> round_;  // 1-based positions
  std::size_t at_ = 0;
  std::mt19937 random_;
};

}  // namespace qova
