#pragma once
// One player engine: its window, the file playing in it, and the state,
// settings and events that the exports of APlayerContract.h expose.
// Lives on the thread that created it; everything it tells handler 2 is
// posted to its window and delivered from that thread's message loop.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "outside/aplayer/APlayerContract.h"
#include "outside/aplayer/MediaPlatform.h"
#include "outside/aplayer/MediaSession.h"
#include "outside/aplayer/VideoWindow.h"

namespace qova::aplayer {

using EngineHandlers = std::array<APlayerHandler, 8>;

class PlayerEngine final : private VideoWindowListener {
 public:
  PlayerEngine(HWND parent, RECT rectangle, const EngineHandlers& handlers);
  ~PlayerEngine();
  PlayerEngine(const PlayerEngine&) = delete;
  PlayerEngine& operator=(const PlayerEngine&) = delete;

  // False when the window or Media Foundation could not be set up.
  bool valid() const { return platform_.started() && window_.valid(); }

  // The integer results are the contract's codes.
  int32_t open(const char* path);
  int32_t close();
  int32_t play();
  int32_t pause();
  int32_t setPosition(int32_t milliseconds);
  int32_t setVolume(int32_t volume);
  int32_t setConfig(int32_t id, const char* value);
  int32_t setLogo(HBITMAP logo);

  int32_t state() const { return state_; }
  int32_t position() const;
  int32_t duration() const;
  int32_t videoWidth() const;
  int32_t videoHeight() const;
  int32_t volume() const { return volume_; }
  int32_t isSeeking() const { return seeking_ ? 1 : 0; }
  int32_t bufferProgress() const { return session_ ? 100 : 0; }
  // Null for an unknown id; valid until the next text this engine returns.
  const char* config(int32_t id);
  const char* version();
  // Null once the window is gone.
  HWND window() const { return window_.handle(); }

 private:
  void onMediaEvent(uint32_t sessionId, MediaEvent event) override;
  void onResized() override;
  void onRepaintVideo() override;
  void onWindowGone() override;
  void onTimer(UINT_PTR id) override;

  int32_t openFile(const std::wstring& path);
  void pauseOncePlayedAMoment();
  void scheduleEarlyEnd();
  void endFile();
  void changeState(int32_t state);
  void endSession();
  void endWithFailure();
  void applyPicture();
  void applyAudio();

  MediaPlatform platform_;
  EngineHandlers handlers_;
  // The destructor shuts the player down before the window it draws into goes.
  std::unique_ptr<MediaSession> session_;
  std::wstring path_;  // of the open file
  uint32_t lastSessionId_ = 0;
  int32_t state_ = kAPlayerStateReady;
  bool endReported_ = false;
  bool seeking_ = false;
  // Paused before the platform confirmed playback: the pipeline is paused once it plays.
  bool pauseWhenStarted_ = false;
  int resumeReleases_ = 0;
  // The open file ends by pausing on its last frames (see scheduleEarlyEnd).
  bool endsEarly_ = false;
  int32_t volume_ = 100;
  bool muted_ = false;
  bool keepAspect_ = true;
  std::string text_;
  // Last: the window talks to the engine from its creation on, so everything else is ready by then.
  VideoWindow window_;
};

}  // namespace qova::aplayer
