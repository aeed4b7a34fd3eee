#pragma once
// One file playing through its own MFPlay player. Every file gets a fresh
// player: nothing of the previous file (late events, its renderers) can then
// reach the next one, and closing is shutting the player, the file's media
// source and its video renderer down.
#include <windows.h>
#include <mfidl.h>
#include <mfplay.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class PlayerCallback;

class MediaSession {
 public:
  // Opens `path` into `window` and starts playing it. MFPlay's events reach
  // the window as kMediaEventMessage tagged with `id`. Null when the file
  // cannot be resolved within `timeout` or the player refuses it.
  static std::unique_ptr<MediaSession> open(HWND window, const std::wstring& path, uint32_t id,
                                            std::chrono::milliseconds timeout);
  ~MediaSession();
  MediaSession(const MediaSession&) = delete;
  MediaSession& operator=(const MediaSession&) = delete;

  uint32_t id() const { return id_; }
  bool hasVideo() const { return static_cast<bool>(videoRenderer_); }

  // Each false when the player refuses.
  bool play();
  bool pause();
  bool seek(int32_t milliseconds);
  // For a resume that MFPlay has not confirmed after a while: Wine's video
  // renderer reports that it is prerolled only once per file, so after a
  // pause the media session waits for that report forever. Sending it in the
  // renderer's name lets the session go on.
  void releaseStalledStart();

  // 0 when the player cannot tell.
  int32_t positionMilliseconds() const;
  int32_t durationMilliseconds() const;
  // The video's own size; 0 x 0 for sound only or before the renderer knows it.
  SIZE nativeVideoSize() const;

  // Letterboxed when true, stretched over the window when false; false when refused.
  bool keepAspect(bool keep);
  // The volume of this file's sound alone (0.0 .. 1.0); false when the audio
  // renderer cannot take it yet (it can once MFPlay reports the file playing).
  bool setAudioLevel(float level);

  // Redraws the current frame (on a paint).
  void repaint();
  // Fits the picture to the window's client area again (after a resize).
  void fitToWindow();

 private:
  MediaSession(uint32_t id, ComPtr<IMFPMediaPlayer> player, ComPtr<PlayerCallback> callback,
               ComPtr<IMFMediaSource> source);

  const uint32_t id_;
  ComPtr<IMFPMediaPlayer> player_;
  ComPtr<PlayerCallback> callback_;
  ComPtr<IMFMediaSource> source_;
  ComPtr<IMFPMediaItem> item_;
  // Our own renderers (null where the file has no such stream), so that they
  // can be reached: MFPlay under Wine has no volume and cannot resume video.
  ComPtr<IMFActivate> videoRenderer_;
  ComPtr<IMFActivate> audioRenderer_;
};

}  // namespace qova::aplayer
