#pragma once
// Taking a frame from a video with a bound on the time it may take.
//
// Media Foundation under Wine can stall for good inside
// MFCreateSourceReaderFromURL or ReadSample on a broken file (seen with a
// truncated MP4 opened after a good one). The decoding therefore runs on a
// thread of its own; the caller waits for it a bounded time and then goes on
// with whatever it found so far. A stalled thread is left behind: it holds a
// reference on this DLL so that the DLL stays loaded under it, and it stops
// looking as soon as it gets control back.
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>

#include "outside/media/RgbImage.h"
#include "outside/screenshot/FrameChoice.h"

namespace qova::screenshot {

struct CaptureResult {
  media::RgbImage frame;  // empty when no frame was decoded
  int pixelAspectNumerator = 0;
  int pixelAspectDenominator = 0;
  bool soundOnly = false;  // the file opened and has sound but no picture
};

// What a capture found so far, shared by the decoding thread and the waiting caller.
class CaptureProgress {
 public:
  // Takes a decoded frame; true when looking further is pointless (a good
  // frame, or the caller stopped waiting).
  bool offer(media::RgbImage frame, int pixelAspectNumerator, int pixelAspectDenominator);
  void markSoundOnly();
  // True once the caller has stopped waiting.
  bool abandoned() const { return abandoned_.load(); }
  // Stops further offers and hands out the best frame so far.
  CaptureResult finish();

 private:
  mutable std::mutex lock_;
  FramePicker picker_;
  int pixelAspectNumerator_ = 0;
  int pixelAspectDenominator_ = 0;
  bool soundOnly_ = false;
  std::atomic<bool> abandoned_{false};
};

// How long a caller waits for the decoding of one video.
constexpr std::chrono::milliseconds kCaptureTimeLimit{10'000};

// What decodes the frames: captureFrames (SourceReaderCapture.h) outside tests.
using FrameSource = void (*)(const std::wstring& path, CaptureProgress& progress);

// Runs `source` on the video at `path` (UTF-16) on a thread of its own and
// waits at most `limit` for it; the best frame found by then. An empty result
// when no thread could be started.
CaptureResult captureWithin(const std::wstring& path, std::chrono::milliseconds limit = kCaptureTimeLimit,
                            FrameSource source = nullptr);

}  // namespace qova::screenshot
