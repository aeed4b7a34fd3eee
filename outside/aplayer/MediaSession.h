#pragma once
// One file playing through its own Media Foundation media session. Every
// file gets a fresh session: nothing of the previous file (late events, its
// renderers) can then reach the next one, and closing is shutting the
// renderers, the session and the file's media source down.
//
// Not MFPlay: Wine's MFPlay player never shuts its media session down, and
// the session's pending event request holds the player, so every file's
// session, renderers, Direct3D device and threads would stay alive for good.
#include <windows.h>
#include <evr.h>
#include <mfidl.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class SessionEvents;

class MediaSession {
 public:
  // Opens `path` into `window` and starts playing it. The session's events
  // reach the window as kMediaEventMessage tagged with `id`, in MFPlay's
  // event types. Null when the file cannot be resolved within `timeout` or the
  // session refuses it.
  static std::unique_ptr<MediaSession> open(HWND window, const std::wstring& path, uint32_t id,
                                            std::chrono::milliseconds timeout);
  ~MediaSession();
  MediaSession(const MediaSession&) = delete;
  MediaSession& operator=(const MediaSession&) = delete;

  uint32_t id() const { return id_; }
  bool hasVideo() const { return static_cast<bool>(videoRenderer_); }

  // Each false when the session refuses.
  bool play();
  bool pause();
  bool seek(int32_t milliseconds);
  // For a resume that the session has not confirmed after a while: Wine's video
  // renderer reports that it is prerolled only once per file, so after a
  // pause the media session waits for that report forever. Sending it in the
  // renderer's name lets the session go on.
  void releaseStalledStart();

  // 0 when the session cannot tell.
  int32_t positionMilliseconds() const;
  int32_t durationMilliseconds() const;
  // The video's own size; 0 x 0 for sound only or before the renderer knows it.
  SIZE nativeVideoSize() const;

  // Letterboxed when true, stretched over the window when false; false when refused.
  bool keepAspect(bool keep);
  // The volume of this file's sound alone (0.0 .. 1.0); false when the audio
  // renderer cannot take it yet (it can once the file is reported playing).
  bool setAudioLevel(float level);

  // Redraws the current frame (on a paint).
  void repaint();
  // Fits the picture to the window's client area again (after a resize).
  void fitToWindow();

 private:
  MediaSession(uint32_t id, HWND window, ComPtr<IMFMediaSession> session, ComPtr<SessionEvents> events,
               ComPtr<IMFMediaSource> source);
  // False when the session refuses the file's streams.
  bool startPlaying();
  // The video renderer's display control; null without video or before the renderer exists.
  ComPtr<IMFVideoDisplayControl> display() const;
  // Fits the picture to the window's client area (`source`: the part of the video; null: as it is).
  void placePicture(const MFVideoNormalizedRect* source);

  const uint32_t id_;
  const HWND window_;
  ComPtr<IMFMediaSession> session_;
  ComPtr<SessionEvents> events_;
  ComPtr<IMFMediaSource> source_;
  int64_t durationTicks_ = 0;
  // The renderers (null where the file has no such stream), kept so that
  // they can be reached: for the volume, a stalled resume, and the teardown.
  ComPtr<IMFActivate> videoRenderer_;
  ComPtr<IMFActivate> audioRenderer_;
};

}  // namespace qova::aplayer
