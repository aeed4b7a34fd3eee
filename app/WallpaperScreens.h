#pragma once
// The wallpaper's players: one per monitor (or the primary's alone, as
// "To_configure.ini" chooses), playing the same entry unless a monitor loops
// a video of its own. The first player is always the one on the primary
// monitor: only its events reach the program, so the end of its file drives
// the library's order, and only it plays the sound; the others are muted.
// Which of them plays is the playing policy's to say (app/PlayingPolicy.h):
// every change of its inputs goes through policy() and then apply(). A
// display change lays the players out again, moving those that stay without
// touching their playback.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/PlayingPolicy.h"
#include "desktop/DesktopLayer.h"
#include "desktop/ScreenPlacement.h"
#include "engines/Player.h"

namespace qova {

class WallpaperScreens {
 public:
  WallpaperScreens() = default;
  ~WallpaperScreens();
  WallpaperScreens(const WallpaperScreens&) = delete;
  WallpaperScreens& operator=(const WallpaperScreens&) = delete;

  // Creates the players inside the desktop layer (or, where there is none, as
  // top-level windows at the bottom of the Z order, one per monitor).
  // `onPrimaryEvent` is the primary player's handler 2.
  void create(APlayerHandler onPrimaryEvent);
  // The monitors changed: players move to their monitors' new rectangles,
  // monitors that came get a player opening the current file at the primary's
  // position, and players of monitors that went are destroyed. Nothing before
  // create. The first form asks the system for the monitors.
  void layOut();
  void layOut(const std::vector<MonitorArea>& monitors);
  // Every player scales the picture as "画面填充" now says.
  void rescale();
  // Every player presents the picture as "画面绘制" now says (from its next
  // video on, as the engine takes the setting).
  void represent();
  // Destroys every engine; the players' handles stay readable.
  void destroy();

  // What followLayer found.
  enum class LayerChange {
    None,     // the players are where they were (or never lived in a layer)
    Moved,    // the layer was gone: new players in the new layer go on with the same file
    Waiting,  // the layer is gone and no new one exists yet: no player runs
  };
  // After the shell may have gone or come back: when the layer the players
  // lived in is gone, their engines go too, and once the shell has a layer
  // again new players are created there, open the same file and pause as the
  // old ones did, at the same volume. Players made top-level for want of a
  // shell move into the first shell's layer the same way.
  LayerChange followLayer();
  // The window the players live in; null for top-level players.
  HWND layer() const { return host_.parent; }

  // Open and close go to the primary and every player that follows it; the
  // primary's result. A player the policy holds paused is paused at once
  // after the open instead of playing unseen. While the shell's layer is
  // gone, open keeps the file for the new players.
  int32_t open(const std::string& path);
  int32_t close();
  // The primary's volume (0 sends 80, as Player does); the others stay muted.
  int32_t setVolume(int32_t volume);

  // What decides which player plays; each change of it goes to apply().
  PlayingPolicy& policy() { return policy_; }
  const PlayingPolicy& policy() const { return policy_; }
  // Pauses and plays the players `changes` names, in its order. A player
  // that follows the primary and plays on joins it where it is (it may have
  // gone on meanwhile, while this one's monitor was hidden).
  void apply(const PlayingPolicy::Changes& changes);
  // The monitors the players cover, in screen coordinates, the primary's first.
  const std::vector<ScreenRect>& monitorRects() const { return monitorRects_; }
  // Their device identities, in the same order (app/MonitorVideos.h).
  const std::vector<std::string>& monitorIdentities() const { return identities_; }
  // The monitors' stored choices of a video of their own changed: each
  // player whose choice changed opens its own video, looping it, or the
  // primary's file where the primary is.
  void ownVideosChanged();
  // Which stored choices count: a video the library no longer holds lets its
  // monitor follow the primary, while the choice stays stored (every video counts until this is set).
  void countOwnVideosWhen(std::function<bool(const std::string& path)> inLibrary) { inLibrary_ = std::move(inLibrary); }
  // An event of the player on `monitor` beside the primary: the end of its
  // own video plays it again; anything else changes nothing.
  void onOtherPlayerEvent(std::size_t monitor, int32_t code, int32_t parameter);

  // The player on the primary monitor; one with no engine before create.
  Player& primary() { return players_.empty() ? none_ : *players_.front(); }
  const Player& primary() const { return players_.empty() ? none_ : *players_.front(); }
  std::size_t count() const { return players_.size(); }
  const Player& at(std::size_t index) const { return *players_.at(index); }

  // Players without a desktop layer go to the bottom of the Z order, below
  // every other window; nothing for players inside the layer.
  void keepTopLevelPlayersAtBottom() const;

 private:
  // Where the players go now, the primary's first, in their parent's
  // coordinates; remembers the monitors' rectangles.
  std::vector<ScreenRect> places(const std::vector<MonitorArea>& monitors);
  // The stored choices of the monitors, those the library no longer holds left out.
  std::vector<std::string> ownVideos() const;
  // Another monitor's player plays on from where the primary is.
  void joinPrimary(const Player& player);
  // Player `monitor` (not the primary) opens what the policy has it play;
  // true when it opened a file.
  bool openOwnOrPrimary(std::size_t monitor);
  // The event handler of the player on `monitor` (not the primary): the end
  // of its own video plays it again.
  APlayerHandler otherPlayerHandler(std::size_t monitor);
  void addPlayer(const ScreenRect& place);
  void createPlayers();
  // Runs `operation` on the other players that follow the primary, then on
  // the primary; the primary's result.
  template <typename Operation>
  int32_t toLibraryPlayers(Operation operation);

  std::vector<std::unique_ptr<Player>> players_;
  Player none_;
  DesktopHost host_;
  APlayerHandler onPrimaryEvent_ = nullptr;
  std::string path_;  // the file the players play; empty while closed
  int32_t volume_ = 0;
  bool inLayer_ = false;  // created inside a layer and not destroyed since
  bool topLevel_ = false;  // created top-level (no shell) and not destroyed since
  std::vector<ScreenRect> monitorRects_;
  std::vector<std::string> identities_;
  std::function<bool(const std::string& path)> inLibrary_;
  PlayingPolicy policy_;
};

}  // namespace qova
