#pragma once
// The receiver of one MFPlay player's events. The player is created
// free-threaded, so MFPlay calls this on Media Foundation worker threads and
// never needs the engine thread's message loop; the events are posted on to
// the engine's window and handled there, on the engine's own thread.
#include <windows.h>
#include <mfplay.h>

#include <atomic>
#include <chrono>
#include <cstdint>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class PlayerCallback final : public IMFPMediaPlayerCallback {
 public:
  // Starts with one reference, owned by the caller.
  PlayerCallback(HWND window, uint32_t sessionId);

  // No event reaches the window after this (the session is closing).
  void detach() { detached_ = true; }
  // True while MFPlay last reported the file playing or paused (samples may be in flight).
  bool streaming() const { return streaming_; }
  // Waits at most `timeout` for MFPlay to report the file paused; false on time-out.
  bool waitUntilPaused(std::chrono::milliseconds timeout) const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  void STDMETHODCALLTYPE OnMediaPlayerEvent(MFP_EVENT_HEADER* header) override;

 private:
  ~PlayerCallback() = default;

  std::atomic<ULONG> references_{1};
  const HWND window_;
  const uint32_t sessionId_;
  std::atomic<bool> detached_{false};
  std::atomic<bool> streaming_{false};
  UniqueHandle paused_;
};

}  // namespace qova::aplayer
