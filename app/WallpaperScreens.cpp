#include "app/WallpaperScreens.h"

#include <array>
#include <utility>

#include "app/MonitorVideos.h"
#include "app/Settings.h"
#include "desktop/Monitors.h"

namespace qova {
namespace {

// The screens whose players beside the primary get their events. The
// engine's handlers carry no more than two numbers, so each monitor's player
// has a handler of its own, one per monitor up to kHandledMonitors.
WallpaperScreens* gScreensOfOtherPlayers = nullptr;
constexpr std::size_t kHandledMonitors = 16;

template <std::size_t Monitor>
int32_t WINAPI otherPlayerEvent(int32_t code, int32_t parameter) {
  if (gScreensOfOtherPlayers) gScreensOfOtherPlayers->onOtherPlayerEvent(Monitor, code, parameter);
  return 0;
}

// A monitor beyond them follows the primary as always; its events change nothing.
int32_t WINAPI ignoreEvent(int32_t, int32_t) { return 0; }

template <std::size_t... Monitor>
constexpr std::array<APlayerHandler, sizeof...(Monitor)> handlersFor(std::index_sequence<Monitor...>) {
  return {&otherPlayerEvent<Monitor>...};
}
constexpr auto kOtherPlayerHandlers = handlersFor(std::make_index_sequence<kHandledMonitors>());

}  // namespace

WallpaperScreens::~WallpaperScreens() {
  if (gScreensOfOtherPlayers == this) gScreensOfOtherPlayers = nullptr;
}

APlayerHandler WallpaperScreens::otherPlayerHandler(std::size_t monitor) {
  if (monitor >= kHandledMonitors) return &ignoreEvent;
  gScreensOfOtherPlayers = this;
  return kOtherPlayerHandlers[monitor];
}

void WallpaperScreens::onOtherPlayerEvent(std::size_t monitor, int32_t code, int32_t parameter) {
  if (code != kAPlayerEventFileEnded || parameter != 0) return;
  if (monitor == 0 || monitor >= players_.size() || policy_.followsPrimary(monitor)) return;
  // Opening the same file again plays it from its start.
  players_[monitor]->open(policy_.ownVideo(monitor));
}

void WallpaperScreens::create(APlayerHandler onPrimaryEvent) {
  onPrimaryEvent_ = onPrimaryEvent;
  path_.clear();
  host_ = findDesktopHost();
  inLayer_ = host_.parent != nullptr;
  topLevel_ = !inLayer_;
  createPlayers();
}

void WallpaperScreens::createPlayers() {
  players_.clear();
  const std::vector<ScreenRect> wanted = places(listMonitors());
  policy_.setMonitorCount(wanted.size());
  policy_.setOwnVideos(ownVideos());
  for (const ScreenRect& place : wanted) addPlayer(place);
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
  // Born with nothing open, then all opened together, paused where the policy holds them.
  const std::string path = std::exchange(path_, {});
  createPlayers();
  primary().setVolume(volume_);
  if (!path.empty()) open(path);
  return LayerChange::Moved;
}

void WallpaperScreens::rescale() {
  for (const auto& player : players_) player->setConfig(kAPlayerConfigScaling, pictureScalingSetting());
}

void WallpaperScreens::represent() {
  for (const auto& player : players_) player->setConfig(kAPlayerConfigPresentation, presentationSetting());
}

std::vector<ScreenRect> WallpaperScreens::places(const std::vector<MonitorArea>& monitors) {
  const bool everyMonitor = readSetting(kSettingEveryMonitor, "1") != "0";
  monitorRects_ = playerPlaces(monitors, 0, 0, everyMonitor);
  identities_.clear();
  for (const ScreenRect& rect : monitorRects_) identities_.push_back(monitorIdentity(rect));
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
                 nullptr, isPrimary ? onPrimaryEvent_ : otherPlayerHandler(players_.size()));
  if (host_.insertAfter) placeInDesktopHost(player->getWindow(), host_);
  player->setConfig(kAPlayerConfigScaling, pictureScalingSetting());
  player->setConfig(kAPlayerConfigPresentation, presentationSetting());
  if (!isPrimary) player->setConfig(kAPlayerConfigMute, "1");
  players_.push_back(std::move(player));
  const std::size_t monitor = players_.size() - 1;
  if (!isPrimary && openOwnOrPrimary(monitor) && !policy_.plays(monitor)) players_[monitor]->pause();
}

void WallpaperScreens::layOut() { layOut(listMonitors()); }

void WallpaperScreens::layOut(const std::vector<MonitorArea>& monitors) {
  if (players_.empty()) return;
  const std::vector<ScreenRect> wanted = places(monitors);
  while (players_.size() > wanted.size()) players_.pop_back();
  policy_.setMonitorCount(wanted.size());
  // The players that stay may stand on other monitors now, with other choices.
  ownVideosChanged();
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    const ScreenRect& place = wanted[i];
    if (i < players_.size())
      players_[i]->moveWindow(place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    else
      addPlayer(place);
  }
  keepTopLevelPlayersAtBottom();
}

void WallpaperScreens::ownVideosChanged() {
  std::vector<std::string> before;
  for (std::size_t i = 0; i < players_.size(); ++i) before.push_back(policy_.ownVideo(i));
  const PlayingPolicy::Changes changes = policy_.setOwnVideos(ownVideos());
  PlayingPolicy::Changes rest;
  for (const std::size_t monitor : changes)
    if (monitor >= before.size() || policy_.ownVideo(monitor) == before[monitor]) rest.push_back(monitor);
  for (std::size_t i = 1; i < before.size(); ++i)
    if (policy_.ownVideo(i) != before[i] && openOwnOrPrimary(i) && !policy_.plays(i)) players_[i]->pause();
  apply(rest);
}

std::vector<std::string> WallpaperScreens::ownVideos() const {
  std::vector<std::string> videos = storedMonitorVideos(identities_);
  if (inLibrary_)
    for (std::string& video : videos)
      if (!video.empty() && !inLibrary_(video)) video.clear();
  return videos;
}

bool WallpaperScreens::openOwnOrPrimary(std::size_t monitor) {
  const Player& player = *players_[monitor];
  const std::string& own = policy_.ownVideo(monitor);
  if (!own.empty()) {
    player.open(own);
    return true;
  }
  if (path_.empty()) {
    player.close();
    return false;
  }
  player.open(path_);
  // Joins the others where the primary is (when the engine can seek there yet).
  if (const int32_t position = primary().getPosition(); position > 0) player.setPosition(position);
  return true;
}

void WallpaperScreens::destroy() {
  for (auto& player : players_) player->destroy();
  path_.clear();
  inLayer_ = false;
  topLevel_ = false;
}

template <typename Operation>
int32_t WallpaperScreens::toLibraryPlayers(Operation operation) {
  for (std::size_t i = 1; i < players_.size(); ++i)
    if (policy_.followsPrimary(i)) operation(*players_[i]);
  return operation(primary());
}

int32_t WallpaperScreens::open(const std::string& path) {
  path_ = path;
  // While the shell is away no player exists: the file opens once the layer is back.
  if (players_.empty() && inLayer_) return kAPlayerOk;
  const int32_t result = toLibraryPlayers([&](const Player& player) { return player.open(path); });
  for (std::size_t i = 1; i < players_.size(); ++i)
    if (policy_.followsPrimary(i) && !policy_.plays(i)) players_[i]->pause();
  if (!policy_.plays(0)) primary().pause();
  return result;
}

int32_t WallpaperScreens::close() {
  path_.clear();
  return toLibraryPlayers([](const Player& player) { return player.close(); });
}

void WallpaperScreens::apply(const PlayingPolicy::Changes& changes) {
  for (const std::size_t monitor : changes) {
    if (monitor != 0 && monitor >= players_.size()) continue;
    const Player& player = monitor == 0 ? primary() : *players_[monitor];
    if (!policy_.plays(monitor)) player.pause();
    else if (monitor == 0 || !policy_.followsPrimary(monitor)) player.play();
    else joinPrimary(player);
  }
}

void WallpaperScreens::joinPrimary(const Player& player) {
  player.play();
  // Back in step with the primary, which may have gone on meanwhile (while
  // this one's monitor was hidden).
  if (const int32_t position = primary().getPosition(); position > 0) player.setPosition(position);
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
