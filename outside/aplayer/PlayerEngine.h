#pragma once
// One player engine: its window, the file playing in it, and the state,
// settings and events that the exports of APlayerContract.h expose.
// Lives on the thread that created it; the decoding and showing happen on
// its playback thread, and everything it tells handler 2 is posted to its
// window and delivered from the creating thread's message loop.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "outside/aplayer/APlayerContract.h"
#include "outside/aplayer/DiagnosticLines.h"
#include "outside/aplayer/PlaybackMessages.h"
#include "outside/aplayer/PlaybackWorker.h"
#include "outside/aplayer/VideoPicture.h"
#include "outside/aplayer/VideoWindow.h"

namespace qova::aplayer {

using EngineHandlers = std::array<APlayerHandler, 8>;

class PlayerEngine final : private VideoWindowListener {
 public:
  PlayerEngine(HWND parent, RECT rectangle, const EngineHandlers& handlers);
  ~PlayerEngine();
  PlayerEngine(const PlayerEngine&) = delete;
  PlayerEngine& operator=(const PlayerEngine&) = delete;

  // False when the window or the playback thread could not be made.
  bool valid() const { return window_.valid() && worker_ && worker_->running(); }

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
  int32_t bufferProgress() const { return fileOpen_ ? 100 : 0; }
  // Null for an unknown id; valid until the next text this engine returns.
  const char* config(int32_t id);
  const char* version();
  // Null once the window is gone.
  HWND window() const { return window_.handle(); }

 private:
  void onPlaybackNews(uint32_t session, PlaybackNews news) override;
  bool paintVideo(HDC dc, const RECT& client) override;
  void onWindowGone() override;

  // A fresh playback thread and picture, with the engine's settings.
  void startWorker();
  int32_t openFile(const std::wstring& path);
  void refuse();
  // No file open any more: its news is old from now on, and the state is Ready.
  void forgetFile();
  void changeState(int32_t state);
  void applyAudio();
  void applyScaling(PictureScaling scaling);
  PlaybackWorker::Status status() const;

  EngineHandlers handlers_;
  std::shared_ptr<VideoPicture> picture_;
  std::wstring path_;  // of the open file
  uint32_t lastSession_ = 0;
  uint32_t session_ = 0;  // the open file's; 0 for none
  bool fileOpen_ = false;
  bool started_ = false;  // the open file's first frame is out
  int32_t state_ = kAPlayerStateReady;
  bool endReported_ = false;
  bool seeking_ = false;
  int32_t volume_ = 100;
  bool muted_ = false;
  PictureScaling scaling_ = PictureScaling::Fit;
  PresentationChoice presentation_ = PresentationChoice::Auto;
  std::string text_;
  VideoWindow window_;
  std::shared_ptr<DiagnosticLines> diagnostics_;
  // Last: it draws into the window, so it goes first.
  std::unique_ptr<PlaybackWorker> worker_;
};

}  // namespace qova::aplayer
