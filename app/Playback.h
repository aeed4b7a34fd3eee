#pragma once
// Moving through the library: every change of video goes through currentIndex
// and one request to the player, open, which starts playback.
//
// An entry the player cannot play is passed over to the next one, in the
// order the end of a file moves on in: a file the engine refuses to open, one
// it reports as unplayable (event 5), and, with an engine that has shown that
// it reports its states, one that shows no sign of starting (no state change
// to playing or paused) within kStartTimeout, so that such an engine, however
// it fails, leaves the wallpaper standing on no such file. The engine's
// contract promises no state events at all: an engine that has sent none is
// trusted to play what it opened until its end, event 5 or a refusal.
//
// The engine's events carry no open of their own. They reach the window
// thread through its message queue, in the order they were posted, so a
// message posted behind each open's return marks where that open's events
// begin: whatever arrives before it was meant for an earlier open (a failure
// or an end of the file the user has just replaced) and changes nothing.
// Once every entry of the library has failed in a row, playback stops rather
// than going round the list for ever, and the program is told once; a new
// round begins when the library changes or the user asks for playback.
//
// The end of a file moves on in the order "播放顺序" chooses (library/PlayOrder.h),
// unless "每个视频时长" wants the entry to play on (library/TimePerVideo.h):
// both are read at each end, so that a change applies at once.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "app/MainWindowMessages.h"
#include "app/OwnedWindow.h"
#include "app/WallpaperScreens.h"
#include "library/FailureStreak.h"
#include "library/PlayOrder.h"
#include "library/TimePerVideo.h"
#include "library/VideoLibrary.h"

namespace qova {

// How long an opened file may go without starting to play before it counts as
// one that cannot be played. Our engine gives up on a file after 5 s itself.
constexpr std::chrono::milliseconds kStartTimeout{10000};

class Playback {
 public:
  // `window` (MainWindow) receives the start watch's timer and the message that
  // passes over an entry; while it has no handle, nothing is watched or passed
  // over. `nothingPlays` runs once each time every entry has failed in a row.
  Playback(WallpaperScreens& player, VideoLibrary& library, const OwnedWindow& window,
           std::function<void()> nothingPlays);
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // Opens the entry at 1-based `position` and watches it start; nothing for a
  // position the library does not have.
  void open(int position);
  // A new round, for the user asking for playback and for changes of the
  // library: the failures so far are forgotten, then open(position).
  void openAfresh(int position);
  // Closes the player: nothing plays and nothing is watched any more.
  void close();
  // The entries before and after the one that plays, in the chosen order;
  // stored in the library's currentIndex. firstPosition is where to begin.
  int firstPosition();
  int nextPosition();
  int previousPosition();

  // The engine's events, on the window thread: the end of a file opens the
  // next entry; a start, or an end, shows that the file plays; event 5 passes
  // over the entry.
  void onPlayerEvent(int32_t code, int32_t parameter);
  // MainWindow's messages: the start watch's timer and the message that passes
  // over an entry; true when `message` was one of these.
  bool deliver(UINT message, WPARAM wParam);

  // Whether every entry failed in a row and no new round has begun since.
  bool stopped() const { return player_.policy().stopped(); }

  PlayOrder order;
  TimePerVideo timePerVideo;

 private:
  // Opens `path` and watches it start.
  void openFile(int position, const std::string& path);
  // The stop after every entry failed begins or ends.
  void setStopped(bool stopped);
  void watchStart();
  void stopWatching();
  void onStarted();
  // Whether the events arriving now belong to the latest open.
  bool eventsAreCurrent() const { return eventsOpen_ == openNumber_; }
  // The entry that was opened cannot be played, for `reason` (logged).
  void onFailed(const std::string& reason);
  // The path frames take, when the engine tells it and it changed.
  void logPresentationPath();
  // The engine's own diagnostic lines, each logged.
  void logEngineDiagnostics();

  WallpaperScreens& player_;
  VideoLibrary& library_;
  const OwnedWindow& window_;
  std::function<void()> nothingPlays_;
  FailureStreak failures_;
  bool watching_ = false;
  // Counts the opens, so that a pass-over meant for an entry that the user has
  // since replaced with another one does nothing.
  WPARAM openNumber_ = 0;
  // The open whose events arrive now: the latest one once the message posted
  // behind its return has come through.
  WPARAM eventsOpen_ = 0;
  // The engine has sent a state event: it reports its states, so a file that
  // shows no start is one that cannot be played.
  bool engineReportsStates_ = false;
  int openedPosition_ = 0;  // the latest open's entry, for the log
  std::string openedPath_;
  std::string presentationPath_;  // the one logged last
};

// Stores the volume slider's new position; the running volume is left as it is.
void onVolumeChanged(int position);

}  // namespace qova
