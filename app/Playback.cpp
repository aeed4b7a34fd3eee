#include "app/Playback.h"

#include <string>
#include <utility>

#include "app/Settings.h"
#include "runtime/DiagnosticLog.h"

namespace qova {
namespace {

std::string eventText(int32_t code, int32_t parameter) {
  return "(" + std::to_string(code) + "," + std::to_string(parameter) + ")";
}

}  // namespace

Playback::Playback(WallpaperScreens& player, VideoLibrary& library, const OwnedWindow& window,
                   std::function<void()> nothingPlays)
    : player_(player), library_(library), window_(window), nothingPlays_(std::move(nothingPlays)) {}

void Playback::open(int position) {
  const std::string path = library_.videoPathAt(position);
  if (path.empty()) return;
  timePerVideo.began();
  openFile(position, path);
}

void Playback::openFile(int position, const std::string& path) {
  ++openNumber_;
  openedPosition_ = position;
  openedPath_ = path;
  watchStart();
  const int32_t result = player_.open(path);
  if (window_.handle) ::PostMessageA(window_.handle, kOpenReturnedMessage, openNumber_, 0);
  else eventsOpen_ = openNumber_;
  logLine("open entry " + std::to_string(position) + " " + path + ": " +
          (result == kAPlayerOk ? std::string("ok") : "refused by the engine (" + std::to_string(result) + ")"));
  if (result != kAPlayerOk) onFailed("the engine refused to open it");
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
  if (code == kAPlayerEventDiagnostics) {
    logEngineDiagnostics();
    return;
  }
  if (code == kAPlayerEventStateChanged) engineReportsStates_ = true;
  if (!eventsAreCurrent()) {
    if (code != kAPlayerEventStateChanged)
      logLine("event " + eventText(code, parameter) + " of an earlier open dropped");
    return;
  }
  if (code == kAPlayerEventStateChanged &&
      (parameter == kAPlayerStatePlaying || parameter == kAPlayerStatePaused)) {
    onStarted();
    if (parameter == kAPlayerStatePlaying) logPresentationPath();
  } else if (code == kAPlayerEventOpenFailed && parameter == 0) {
    onFailed("the engine reported it unplayable (event 5)");
  } else if (code == kAPlayerEventFileEnded && parameter == 0 && library_.videoCount != 0) {
    onStarted();
    // Opening the same file again plays it from its start.
    const std::string again =
        timePerVideo.playsAgain(minutesPerVideo()) ? library_.videoPathAt(library_.currentIndex) : std::string();
    if (!again.empty()) openFile(library_.currentIndex, again);
    else open(nextPosition());
  }
}

bool Playback::deliver(UINT message, WPARAM wParam) {
  if (message == WM_TIMER && wParam == kStartWatchTimer) {
    // Only an engine that reports its states can be caught not starting.
    if (watching_ && engineReportsStates_) {
      onFailed("it did not start within " + std::to_string(kStartTimeout.count() / 1000) + " s");
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

void Playback::onFailed(const std::string& reason) {
  stopWatching();
  // Told once: failures after the stop (a late event) change nothing.
  if (library_.videoCount == 0 || failures_.stopped()) return;
  const std::string entry = "entry " + std::to_string(openedPosition_) + " " + openedPath_;
  if (failures_.passOver(library_.videoCount)) {
    logLine("passing over " + entry + ": " + reason);
    // Posted rather than opened here: the message loop goes on between two
    // entries, and a refusal inside open() does not nest one open in another.
    if (window_.handle) ::PostMessageA(window_.handle, kPassOverMessage, openNumber_, 0);
  } else {
    logLine("cannot play " + entry + ": " + reason + "; every entry failed in a row, playback stops");
    setStopped(true);
    if (nothingPlays_) nothingPlays_();
  }
}

void Playback::logPresentationPath() {
  // An engine that does not know the setting answers nothing.
  const std::string path = player_.primary().getConfig(kAPlayerConfigPresentationInUse);
  if (path.empty() || path == presentationPath_) return;
  presentationPath_ = path;
  logLine("presentation path: " + path);
}

void Playback::logEngineDiagnostics() {
  const std::string lines = player_.primary().getConfig(kAPlayerConfigDiagnostics);
  std::size_t begin = 0;
  while (begin < lines.size()) {
    std::size_t end = lines.find('\n', begin);
    if (end == std::string::npos) end = lines.size();
    if (end > begin) logLine("engine: " + lines.substr(begin, end - begin));
    begin = end + 1;
  }
}

void onVolumeChanged(int position) { writeSetting(kSettingVolume, std::to_string(position)); }

}  // namespace qova
