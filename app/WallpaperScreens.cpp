#include "app/WallpaperScreens.h"

#include <utility>

#include "app/Settings.h"
#include "desktop/Monitors.h"

namespace qova {
namespace {

// The handler of the players on the other monitors: their events change nothing.
int32_t WINAPI ignoreEvent(int32_t, int32_t) { return 0; }

}  // namespace

void WallpaperScreens::create(APlayerHandler onPrimaryEvent) {
  onPrimaryEvent_ = onPrimaryEvent;
  path_.clear();
  paused_ = false;
  host_ = findDesktopHost();
  inLayer_ = host_.parent != nullptr;
  topLevel_ = !inLayer_;
  createPlayers();
}

void WallpaperScreens::createPlayers() {
  players_.clear();
  for (const ScreenRect& place : places(listMonitors())) addPlayer(place);
  keepTopLevelPlayersAtBottom();
}

WallpaperScreens::LayerChange WallpaperScreens::followLayer() {
  const bool layerGone = inLayer_ && !(::IsWindow(host_.parent) && ::IsWindow(primary().getWindow()));
  if (!layerGone && !topLevel_) return LayerChange::None;
  const DesktopHost host = findDesktopHost();
  // Top-level players stay until a shell has a layer for them.
  if (topLevel_ && !host.parent) return LayerChange::None;
  // The players' windows went with the old layer, or are top-level ones; their engines go now.
  for (auto& player : players_) player->destroy();
  players_.clear();
  if (!host.parent) return LayerChange::Waiting;
  host_ = host;
  inLayer_ = true;
  topLevel_ = false;
  // Born with nothing open, then all opened together.
  const std::string path = std::exchange(path_, {});
  const bool paused = paused_;
  createPlayers();
  if (volume_ != 0) primary().setVolume(volume_);
  if (!path.empty()) {
    open(path);
    if (paused) pause();
  }
  return LayerChange::Moved;
}

std::vector<ScreenRect> WallpaperScreens::places(const std::vector<MonitorArea>& monitors) {
  const bool everyMonitor = readSetting(kSettingEveryMonitor, "1") != "0";
  monitorRects_ = playerPlaces(monitors, 0, 0, everyMonitor);
  // Inside the desktop layer, which spans the virtual screen, a monitor's
  // place is its rectangle less the virtual screen's origin.
  const ScreenRect origin = host_.parent ? virtualScreen(monitors) : ScreenRect{};
  return playerPlaces(monitors, origin.left, origin.top, everyMonitor);
}

void WallpaperScreens::addPlayer(const ScreenRect& place) {
  const bool isPrimary = players_.empty();
  auto player = std::make_unique<Player>();
  // A player window is born inside the desktop layer and never moved there later.
  player->create(host_.parent, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 nullptr, isPrimary ? onPrimaryEvent_ : &ignoreEvent);
  if (host_.insertAfter) placeInDesktopHost(player->getWindow(), host_);
  player->setConfig(kAPlayerConfigScaling, pictureScalingSetting());
  player->setConfig(kAPlayerConfigPresentation, presentationSetting());
  if (!isPrimary) {
    player->setConfig(kAPlayerConfigMute, "1");
    if (!path_.empty()) {
      player->open(path_);
      // Joins the others where the primary is (when the engine can seek there yet).
      if (const int32_t position = primary().getPosition(); position > 0) player->setPosition(position);
      if (paused_ || hiddenAt(players_.size())) player->pause();
    }
  }
  players_.push_back(std::move(player));
}

void WallpaperScreens::layOut() { layOut(listMonitors()); }

void WallpaperScreens::layOut(const std::vector<MonitorArea>& monitors) {
  if (players_.empty()) return;
  const std::vector<ScreenRect> wanted = places(monitors);
  while (players_.size() > wanted.size()) players_.pop_back();
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    const ScreenRect& place = wanted[i];
    if (i < players_.size())
      players_[i]->moveWindow(place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    else
      addPlayer(place);
  }
  keepTopLevelPlayersAtBottom();
}

void WallpaperScreens::destroy() {
  for (auto& player : players_) player->destroy();
  path_.clear();
  inLayer_ = false;
  topLevel_ = false;
}

template <typename Operation>
int32_t WallpaperScreens::toEveryPlayer(Operation operation) {
  for (std::size_t i = 1; i < players_.size(); ++i) operation(*players_[i]);
  return operation(primary());
}

int32_t WallpaperScreens::open(const std::string& path) {
  path_ = path;
  paused_ = false;
  // While the shell is away no player exists: the file opens once the layer is back.
  if (players_.empty() && inLayer_) return kAPlayerOk;
  const int32_t result = toEveryPlayer([&](const Player& player) { return player.open(path); });
  if (held_) pause();
  else pauseHiddenOthers();
  return result;
}

int32_t WallpaperScreens::close() {
  path_.clear();
  return toEveryPlayer([](const Player& player) { return player.close(); });
}

int32_t WallpaperScreens::play() {
  paused_ = false;
  const int32_t result = primary().play();
  for (std::size_t i = 1; i < players_.size(); ++i)
    if (!hiddenAt(i)) joinPrimary(*players_[i]);
  return result;
}

void WallpaperScreens::joinPrimary(const Player& player) {
  player.play();
  // Back in step with the primary, which may have gone on meanwhile (while
  // this one's monitor was hidden).
  if (const int32_t position = primary().getPosition(); position > 0) player.setPosition(position);
}

void WallpaperScreens::pauseHiddenOthers() {
  for (std::size_t i = 1; i < players_.size(); ++i)
    if (hiddenAt(i)) players_[i]->pause();
}

void WallpaperScreens::setHidden(const std::vector<bool>& hidden) {
  const std::vector<bool> before = std::exchange(hidden_, hidden);
  if (paused_) return;  // they all wait for the wallpaper to play again
  for (std::size_t i = 1; i < players_.size(); ++i) {
    const bool was = i < before.size() && before[i];
    if (hiddenAt(i) == was) continue;
    if (hiddenAt(i)) {
      players_[i]->pause();
      continue;
    }
    joinPrimary(*players_[i]);
  }
}

int32_t WallpaperScreens::pause() {
  paused_ = true;
  return toEveryPlayer([](const Player& player) { return player.pause(); });
}

int32_t WallpaperScreens::setVolume(int32_t volume) {
  volume_ = volume;
  return primary().setVolume(volume);
}

void WallpaperScreens::keepTopLevelPlayersAtBottom() const {
  for (const auto& player : players_) {
    HWND window = player->getWindow();
    if (!window || ::GetParent(window)) continue;
    ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  }
}

}  // namespace qova
