#include "outside/aplayer/PlayerCallback.h"

#include "outside/aplayer/MediaEventMessage.h"

namespace qova::aplayer {

PlayerCallback::PlayerCallback(HWND window, uint32_t sessionId)
    : window_(window), sessionId_(sessionId), paused_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

bool PlayerCallback::waitUntilPaused(std::chrono::milliseconds timeout) const {
  return paused_ && ::WaitForSingleObject(paused_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

HRESULT STDMETHODCALLTYPE PlayerCallback::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (id == __uuidof(IUnknown) || id == __uuidof(IMFPMediaPlayerCallback)) {
    *object = static_cast<IMFPMediaPlayerCallback*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE PlayerCallback::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE PlayerCallback::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

void STDMETHODCALLTYPE PlayerCallback::OnMediaPlayerEvent(MFP_EVENT_HEADER* header) {
  if (!header) return;
  switch (header->eEventType) {
    case MFP_EVENT_TYPE_PLAY:
      streaming_ = SUCCEEDED(header->hrEvent) || streaming_;
      ::ResetEvent(paused_.get());
      break;
    case MFP_EVENT_TYPE_PAUSE:
      ::SetEvent(paused_.get());
      break;
    case MFP_EVENT_TYPE_STOP:
    case MFP_EVENT_TYPE_PLAYBACK_ENDED:
      streaming_ = false;
      break;
    default:
      break;
  }
  if (detached_) return;
  // A window that is gone simply refuses the message.
  ::PostMessageA(window_, kMediaEventMessage, sessionId_,
                 packMediaEvent({static_cast<int32_t>(header->eEventType), header->hrEvent}));
}

}  // namespace qova::aplayer
