#include "app/Playback.h"

#include <string>
#include <utility>

#include "app/Settings.h"

namespace qova {

Playback::Playback(WallpaperScreens& player, VideoLibrary& library, const OwnedWindow& window,
                   std::function<void()> nothingPlays)
    : player_(player), library_(library), window_(window), nothingPlays_(std::move(nothingPlays)) {}

void Playback::open(int position) {
  const std::string path = library_.videoPathAt(position);
  if (path.empty()) return;
  ++openNumber_;
  watchStart();
  const int32_t result = player_.open(path);
  if (window_.handle) ::PostMessageA(window_.handle, kOpenReturnedMessage, openNumber_, 0);
  else eventsOpen_ = openNumber_;
  if (result != kAPlayerOk) onFailed();
}

void Playback::openAfresh(int position) {
  failures_.reset();
  open(position);
}

void Playback::close() {
  stopWatching();
  ++openNumber_;
  player_.close();
}

void Playback::onPlayerEvent(int32_t code, int32_t parameter) {
  if (code == kAPlayerEventStateChanged) engineReportsStates_ = true;
  if (!eventsAreCurrent()) return;
  if (code == kAPlayerEventStateChanged &&
      (parameter == kAPlayerStatePlaying || parameter == kAPlayerStatePaused)) {
    onStarted();
  } else if (code == kAPlayerEventOpenFailed && parameter == 0) {
    onFailed();
  } else if (code == kAPlayerEventFileEnded && parameter == 0 && library_.videoCount != 0) {
    onStarted();
    open(nextIndex(library_));
  }
}

bool Playback::deliver(UINT message, WPARAM wParam) {
  if (message == WM_TIMER && wParam == kStartWatchTimer) {
    // Only an engine that reports its states can be caught not starting.
    if (watching_ && engineReportsStates_) {
      onFailed();
    } else {
      watching_ = false;
      ::KillTimer(window_.handle, kStartWatchTimer);
    }
    return true;
  }
  if (message == kOpenReturnedMessage) {
    eventsOpen_ = wParam;
    return true;
  }
  if (message == kPassOverMessage) {
    if (wParam == openNumber_) open(nextIndex(library_));
    return true;
  }
  return false;
}

void Playback::watchStart() {
  if (!window_.handle) return;
  watching_ = true;
  ::SetTimer(window_.handle, kStartWatchTimer, static_cast<UINT>(kStartTimeout.count()), nullptr);
}

void Playback::stopWatching() {
  if (!watching_) return;
  watching_ = false;
  ::KillTimer(window_.handle, kStartWatchTimer);
}

void Playback::onStarted() {
  stopWatching();
  failures_.reset();
}

void Playback::onFailed() {
  stopWatching();
  // Told once: failures after the stop (a late event) change nothing.
  if (library_.videoCount == 0 || failures_.stopped()) return;
  if (failures_.passOver(library_.videoCount)) {
    // Posted rather than opened here: the message loop goes on between two
    // entries, and a refusal inside open() does not nest one open in another.
    if (window_.handle) ::PostMessageA(window_.handle, kPassOverMessage, openNumber_, 0);
  } else if (nothingPlays_) {
    nothingPlays_();
  }
}

void onVolumeChanged(int position) { writeSetting(kSettingVolume, std::to_string(position)); }

}  // namespace qova
