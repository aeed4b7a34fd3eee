#include "library/PlayOrder.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace qova {

PlayOrder::PlayOrder() : random_(std::random_device{}()) {}

int PlayOrder::first(const VideoLibrary& library, bool shuffled) {
  if (library.videoCount == 0) return 0;
  if (!shuffled) return 1;
  newRound(library.videoCount, 0);
  return round_.front();
}

int PlayOrder::next(VideoLibrary& library, bool shuffled) {
  if (!shuffled || library.videoCount == 0) return nextIndex(library);
  follow(library);
  if (++at_ >= round_.size()) newRound(library.videoCount, library.currentIndex);
  return library.currentIndex = round_[at_];
}

int PlayOrder::previous(VideoLibrary& library, bool shuffled) {
  if (!shuffled || library.videoCount == 0) return previousIndex(library);
  follow(library);
  at_ = at_ == 0 ? round_.size() - 1 : at_ - 1;
  return library.currentIndex = round_[at_];
}

void PlayOrder::follow(const VideoLibrary& library) {
  if (round_.size() != static_cast<std::size_t>(library.videoCount)) {
    // The library changed: a new round, begun with the entry that plays.
    newRound(library.videoCount, 0);
    const auto current = std::find(round_.begin(), round_.end(), library.currentIndex);
    if (current != round_.end()) std::iter_swap(round_.begin(), current);
    return;
  }
  const auto current = std::find(round_.begin(), round_.end(), library.currentIndex);
  if (current != round_.end()) at_ = static_cast<std::size_t>(current - round_.begin());
}

void PlayOrder::newRound(int count, int last) {
  round_.resize(static_cast<std::size_t>(count));
  std::iota(round_.begin(), round_.end(), 1);
  std::shuffle(round_.begin(), round_.end(), random_);
  if (count > 1 && round_.front() == last) {
    std::uniform_int_distribution<std::size_t> other(1, round_.size() - 1);
    std::swap(round_.front(), round_[other(random_)]);
  }
  at_ = 0;
}

}  // namespace qova
