#pragma once
// What an engine's thread and its playback thread both reach: the requests
// queued for the playback thread, its answers and the status it publishes.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "outside/aplayer/PlaybackWorker.h"

namespace qova::aplayer {

struct PlaybackRequest {
  enum class Kind { Open, Close, ClosePicture, Pause, Play, Seek, Repaint, Quit };
  Kind kind;
  uint32_t session = 0;
  std::wstring path;
  int64_t time = 0;
};

// Owned by both threads, so that a playback thread left stuck in the
// platform outlives its engine safely.
struct PlaybackShared {
  PlaybackShared(HWND target, std::shared_ptr<VideoPicture> shown, std::shared_ptr<DiagnosticLines> lines)
      : window(target),
        picture(std::move(shown)),
        diagnostics(std::move(lines)),
        wake(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
        superseded(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
        answered(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

  const HWND window;
  const std::shared_ptr<VideoPicture> picture;
  const std::shared_ptr<DiagnosticLines> diagnostics;
  // Set while requests wait; the playback thread sleeps on it between frames.
  const UniqueHandle wake;
  // Set while a request waits that makes the file being opened pointless
  // (another file, a close, the end): it cuts the opening short.
  const UniqueHandle superseded;
  const UniqueHandle answered;

  std::mutex mutex;
  std::deque<PlaybackRequest> requests;          // guarded by mutex
  uint32_t answeredSession = 0;                  // guarded by mutex
  PlaybackWorker::OpenAnswer answer{};           // guarded by mutex
  PlaybackWorker::Status status;                 // guarded by mutex

  // When the playback thread last woke to work (steadyMilliseconds()); 0 while it sleeps.
  std::atomic<int64_t> busySince{0};
  std::atomic<float> audioLevel{1.0f};
  std::atomic<PictureScaling> scaling{PictureScaling::Fit};
  std::atomic<PresentationChoice> presentation{PresentationChoice::Auto};
  std::atomic<PresentationPath> path{PresentationPath::Gdi};
};

inline int64_t steadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Longer than any one step of the playback thread takes, a file's opening
// included: a thread busy this long is stuck in the platform.
constexpr int64_t kStuckMilliseconds = 8000;

}  // namespace qova::aplayer
