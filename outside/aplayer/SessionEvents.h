#pragma once
// The receiver of one media session's events. Media Foundation calls it on
// its worker threads; it keeps what the teardown needs to know (is the file
// streaming, has it paused) and posts each event on to the engine's window,
// where the engine handles it on its own thread.
#include <windows.h>
#include <mfidl.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class SessionEvents final : public IMFAsyncCallback {
 public:
  // Starts with one reference, owned by the caller. Holds `session` until forgetSession().
  SessionEvents(HWND window, uint32_t sessionId, ComPtr<IMFMediaSession> session);

  // Asks the session for its next event; false when it refuses.
  bool listen();
  // No event reaches the window after this (the file is closing).
  void detach() { detached_ = true; }
  // Drops the session once it is shut down: it holds this receiver while
  // an event is asked for, and this receiver holds it.
  void forgetSession();
  // The next start the session reports ends a seek.
  void expectSeek() { seekPending_ = true; }

  // True while the session last reported the file playing or paused (samples may be in flight).
  bool streaming() const { return streaming_; }
  // True once the session has reported the file playing (its renderers then stream).
  bool hasPlayed() const { return played_; }
  // Waits at most `timeout` for the session to report the file paused; false on time-out.
  bool waitUntilPaused(std::chrono::milliseconds timeout) const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetParameters(DWORD*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(IMFAsyncResult* result) override;

 private:
  ~SessionEvents() = default;
  ComPtr<IMFMediaSession> session() const;
  void note(MediaEventType type, HRESULT status);
  void post(int32_t type, HRESULT status) const;

  std::atomic<ULONG> references_{1};
  const HWND window_;
  const uint32_t sessionId_;
  mutable std::mutex mutex_;
  ComPtr<IMFMediaSession> session_;
  std::atomic<bool> detached_{false};
  std::atomic<bool> streaming_{false};
  std::atomic<bool> played_{false};
  std::atomic<bool> seekPending_{false};
  UniqueHandle paused_;
};

}  // namespace qova::aplayer
