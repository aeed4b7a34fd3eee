#include "app/PlayingPolicy.h"

#include <algorithm>

namespace qova {

template <typename Input>
PlayingPolicy::Changes PlayingPolicy::change(Input input) {
  std::vector<bool> before(count_);
  for (std::size_t i = 0; i < count_; ++i) before[i] = plays(i);
  input();
  Changes changes;
  for (std::size_t i = 1; i < std::min(count_, before.size()); ++i)
    if (plays(i) != before[i]) changes.push_back(i);
  if (!before.empty() && plays(0) != before[0])
    changes.insert(plays(0) ? changes.begin() : changes.end(), 0);
  return changes;
}

PlayingPolicy::Changes PlayingPolicy::setUserPaused(bool paused) {
  return change([&] { userPaused_ = paused; });
}

PlayingPolicy::Changes PlayingPolicy::setCause(PauseCause cause, bool holds) {
  return change([&] { causes_.set(cause, holds); });
}

PlayingPolicy::Changes PlayingPolicy::setHidden(const std::vector<bool>& hidden) {
  return change([&] { hidden_ = hidden; });
}

PlayingPolicy::Changes PlayingPolicy::setStopped(bool stopped) {
  return change([&] { stopped_ = stopped; });
}

PlayingPolicy::Changes PlayingPolicy::setOwnVideos(const std::vector<std::string>& videos) {
  return change([&] { ownVideos_ = videos; });
}

PlayingPolicy::Changes PlayingPolicy::setMonitorCount(std::size_t count) {
  return change([&] {
    count_ = std::max<std::size_t>(count, 1);
    if (hidden_.size() > count_) hidden_.resize(count_);
    if (ownVideos_.size() > count_) ownVideos_.resize(count_);
  });
}

bool PlayingPolicy::libraryVisible() const {
  for (std::size_t i = 0; i < count_; ++i)
    if (followsPrimary(i) && !hiddenAt(i)) return true;
  return false;
}

bool PlayingPolicy::plays(std::size_t monitor) const {
  if (monitor >= count_ || !sessionPlays()) return false;
  const bool libraryPlays = !stopped_ && libraryVisible();
  // The primary drives the library's order: it plays on while any monitor
  // following it shows, even when its own monitor is hidden.
  if (monitor == 0) return libraryPlays;
  if (hiddenAt(monitor)) return false;
  return followsPrimary(monitor) ? libraryPlays : true;
}

const std::string& PlayingPolicy::ownVideo(std::size_t monitor) const {
  static const std::string kFollows;
  if (monitor == 0 || monitor >= ownVideos_.size()) return kFollows;
  return ownVideos_[monitor];
}

}  // namespace qova
