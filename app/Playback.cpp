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
  timePerVideo.began();
  openFile(path);
}

void Playback::openFile(const std::string& path) {
  ++openNumber_;
  // Watched from before the call, so that even an engine that reports the
  // start from inside it is seen starting.
  watchStart();
  if (player_.open(path) != kAPlayerOk) onFailed();
}

void Playback::openAfresh(int position) {
  failures_.reset();
  // Told without a word to the players: the open that follows plays them.
  player_.policy().setStopped(false);
  open(position);
}

int Playback::firstPosition() { return order.first(library_, shuffledPlayOrder()); }

int Playback::nextPosition() { return order.next(library_, shuffledPlayOrder()); }

int Playback::previousPosition() { return order.previous(library_, shuffledPlayOrder()); }

void Playback::close() {
  stopWatching();
  ++openNumber_;
  player_.close();
}

void Playback::onPlayerEvent(int32_t code, int32_t parameter) {
  if (code == kAPlayerEventStateChanged &&
      (parameter == kAPlayerStatePlaying || parameter == kAPlayerStatePaused)) {
    onStarted();
  } else if (code == kAPlayerEventOpenFailed && parameter == 0) {
    onFailed();
  } else if (code == kAPlayerEventFileEnded && parameter == 0 && library_.videoCount != 0) {
    onStarted();
    // Opening the same file again plays it from its start.
    const std::string again =
        timePerVideo.playsAgain(minutesPerVideo()) ? library_.videoPathAt(library_.currentIndex) : std::string();
    if (!again.empty()) openFile(again);
    else open(nextPosition());
  }
}

bool Playback::deliver(UINT message, WPARAM wParam) {
  if (message == WM_TIMER && wParam == kStartWatchTimer) {
    if (watching_) onFailed();
    else ::KillTimer(window_.handle, kStartWatchTimer);
    return true;
  }
  if (message == kPassOverMessage) {
    if (wParam == openNumber_) open(nextPosition());
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
  setStopped(false);
}

void Playback::setStopped(bool stopped) {
  if (player_.policy().stopped() != stopped) player_.apply(player_.policy().setStopped(stopped));
}

void Playback::onFailed() {
  stopWatching();
  // Told once: failures after the stop (a late event) change nothing.
  if (library_.videoCount == 0 || failures_.stopped()) return;
  if (failures_.passOver(library_.videoCount)) {
    // Posted rather than opened here: the message loop goes on between two
    // entries, and a refusal inside open() does not nest one open in another.
    if (window_.handle) ::PostMessageA(window_.handle, kPassOverMessage, openNumber_, 0);
  } else {
    setStopped(true);
    if (nothingPlays_) nothingPlays_();
  }
}

void onVolumeChanged(int position) { writeSetting(kSettingVolume, std::to_string(position)); }

}  // namespace qova
