#pragma once
// Whether each monitor's player plays, and what it plays, from everything
// that decides it: the user's pause, the causes for pausing by itself (the
// desktop hidden, judged per monitor; the session locked, the displays off
// and battery saver, for the whole session), the stop after every entry of
// the library failed in a row, and each monitor's choice between following
// the primary and looping a video of its own. Platform-free.
//
// Monitor 0 is the primary: it plays the library's entry, drives its order
// and gives the sound. The others follow it, or play their own video.
#include <cstddef>
#include <string>
#include <vector>

#include "app/AutoPause.h"

namespace qova {

class PlayingPolicy {
 public:
  // The monitors whose player goes from pausing to playing or back, in the
  // order to tell them: a primary that plays on comes first, so that the
  // monitors following it join it where it is; one that pauses comes last.
  using Changes = std::vector<std::size_t>;

  // Each records one input and says what that changed.
  Changes setUserPaused(bool paused);
  // A cause for the whole session. DesktopHidden given here hides every
  // monitor at once; the cover watch tells it per monitor through setHidden.
  Changes setCause(PauseCause cause, bool holds);
  // Which monitors nobody can see, in the players' order.
  Changes setHidden(const std::vector<bool>& hidden);
  Changes setStopped(bool stopped);
  // The video each monitor loops, in the players' order; empty text follows
  // the primary. The primary's own entry is ignored: it plays the library.
  Changes setOwnVideos(const std::vector<std::string>& videos);
  // How many monitors have a player; what is known of those beyond is dropped.
  Changes setMonitorCount(std::size_t count);

  bool plays(std::size_t monitor) const;
  // The video `monitor` loops; empty while it plays the library's entry.
  const std::string& ownVideo(std::size_t monitor) const;
  bool followsPrimary(std::size_t monitor) const { return ownVideo(monitor).empty(); }
  bool userPaused() const { return userPaused_; }
  bool holds(PauseCause cause) const { return causes_.holds(cause); }
  bool stopped() const { return stopped_; }
  std::size_t monitorCount() const { return count_; }

 private:
  template <typename Input>
  Changes change(Input input);
  bool sessionPlays() const { return !userPaused_ && !causes_.paused(); }
  // Whether anyone can see the library's entry: on the primary, or on a
  // monitor that follows it.
  bool libraryVisible() const;
  bool hiddenAt(std::size_t monitor) const { return monitor < hidden_.size() && hidden_[monitor]; }

  bool userPaused_ = false;
  AutoPause causes_;
  std::vector<bool> hidden_;
  bool stopped_ = false;
  std::vector<std::string> ownVideos_;
  std::size_t count_ = 1;
};

}  // namespace qova
