#include "outside/aplayer/SessionEvents.h"

#include <mfapi.h>

#include <utility>

#include "outside/aplayer/MediaEventMessage.h"

namespace qova::aplayer {

SessionEvents::SessionEvents(HWND window, uint32_t sessionId, ComPtr<IMFMediaSession> session)
    : window_(window),
      sessionId_(sessionId),
      session_(std::move(session)),
      paused_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

bool SessionEvents::listen() {
  ComPtr<IMFMediaSession> current = session();
  return current && SUCCEEDED(current->BeginGetEvent(this, nullptr));
}

void SessionEvents::forgetSession() {
  ComPtr<IMFMediaSession> dropped;
  std::lock_guard lock(mutex_);
  dropped = std::exchange(session_, {});
}

ComPtr<IMFMediaSession> SessionEvents::session() const {
  std::lock_guard lock(mutex_);
  return session_;
}

bool SessionEvents::waitUntilPaused(std::chrono::milliseconds timeout) const {
  return paused_ && ::WaitForSingleObject(paused_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

HRESULT STDMETHODCALLTYPE SessionEvents::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (id == __uuidof(IUnknown) || id == __uuidof(IMFAsyncCallback)) {
    *object = static_cast<IMFAsyncCallback*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE SessionEvents::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE SessionEvents::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE SessionEvents::Invoke(IMFAsyncResult* result) {
  ComPtr<IMFMediaSession> current = session();
  ComPtr<IMFMediaEvent> event;
  // Fails once the session is shut down: then nothing more is asked for.
  if (!current || FAILED(current->EndGetEvent(result, event.put())) || !event) return S_OK;
  MediaEventType type = MEUnknown;
  HRESULT status = S_OK;
  event->GetType(&type);
  event->GetStatus(&status);
  note(type, status);
  if (type != MESessionClosed) current->BeginGetEvent(this, nullptr);
  return S_OK;
}

// The session's events in the engine's terms (MFPlay's event types).
void SessionEvents::note(MediaEventType type, HRESULT status) {
  switch (type) {
    case MESessionTopologySet:
      return post(MFP_EVENT_TYPE_MEDIAITEM_SET, status);
    case MESessionStarted:
      streaming_ = SUCCEEDED(status) || streaming_;
      played_ = SUCCEEDED(status) || played_;
      ::ResetEvent(paused_.get());
      if (seekPending_.exchange(false)) post(MFP_EVENT_TYPE_POSITION_SET, status);
      return post(MFP_EVENT_TYPE_PLAY, status);
    case MESessionPaused:
      ::SetEvent(paused_.get());
      return post(MFP_EVENT_TYPE_PAUSE, status);
    case MESessionStopped:
      streaming_ = false;
      return post(MFP_EVENT_TYPE_STOP, status);
    case MESessionEnded:
      streaming_ = false;
      return post(MFP_EVENT_TYPE_PLAYBACK_ENDED, status);
    case MEError:
      return post(MFP_EVENT_TYPE_ERROR, FAILED(status) ? status : E_FAIL);
    default:
      return;
  }
}

void SessionEvents::post(int32_t type, HRESULT status) const {
  if (detached_) return;
  // A window that is gone simply refuses the message.
  ::PostMessageA(window_, kMediaEventMessage, sessionId_, packMediaEvent({type, status}));
}

}  // namespace qova::aplayer
