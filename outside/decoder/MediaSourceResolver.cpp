#include "outside/decoder/MediaSourceResolver.h"

#include <mfapi.h>

#include <atomic>
#include <mutex>
#include <utility>


namespace qova::aplayer {
namespace {

// Receives the end of an asynchronous source creation on a Media Foundation thread.
class PendingResolution final : public IMFAsyncCallback {
 public:
  explicit PendingResolution(ComPtr<IMFSourceResolver> resolver)
      : resolver_(std::move(resolver)), done_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

  bool ready() const { return static_cast<bool>(done_); }
  HANDLE done() const { return done_.get(); }

  // The source, once done() is signalled; null when the creation failed.
  ComPtr<IMFMediaSource> takeSource() {
    std::lock_guard lock(mutex_);
    return std::exchange(source_, {});
  }
  HRESULT error() {
    std::lock_guard lock(mutex_);
    return error_;
  }

  // The waiter gave up: a source that still arrives is shut down, not kept.
  void abandon() {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    if (source_) std::exchange(source_, {})->Shutdown();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IMFAsyncCallback)) {
      *object = static_cast<IMFAsyncCallback*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetParameters(DWORD*, DWORD*) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE Invoke(IMFAsyncResult* result) override {
    MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
    ComPtr<IUnknown> object;
    ComPtr<IMFMediaSource> source;
    HRESULT error = resolver_->EndCreateObjectFromURL(result, &type, object.put());
    if (SUCCEEDED(error) && object) error = object->QueryInterface(__uuidof(IMFMediaSource), source.putVoid());
    {
      std::lock_guard lock(mutex_);
      error_ = error;
      if (abandoned_) {
        if (source) source->Shutdown();
      } else {
        source_ = std::move(source);
      }
    }
    ::SetEvent(done_.get());
    return S_OK;
  }

 private:
  ~PendingResolution() = default;

  std::atomic<ULONG> references_{1};
  ComPtr<IMFSourceResolver> resolver_;
  UniqueHandle done_;
  std::mutex mutex_;
  ComPtr<IMFMediaSource> source_;
  bool abandoned_ = false;
  HRESULT error_ = S_OK;
};

}  // namespace

ResolvedSource resolveMediaSource(const std::wstring& path, std::chrono::milliseconds timeout, HANDLE interrupt) {
  ComPtr<IMFSourceResolver> resolver;
  if (const HRESULT error = ::MFCreateSourceResolver(resolver.put()); FAILED(error))
    return {{}, Resolution::Refused, error};
  auto resolution = ComPtr<PendingResolution>::adopt(new PendingResolution(resolver));
  if (!resolution->ready()) return {};
  const DWORD flags = MF_RESOLUTION_MEDIASOURCE | MF_RESOLUTION_CONTENT_DOES_NOT_HAVE_TO_MATCH_EXTENSION_OR_MIME_TYPE;
  // No cancellation: a creation that outlives the wait runs to its end
  // unobserved, and the source it makes is shut down then (abandon()).
  if (const HRESULT error =
          resolver->BeginCreateObjectFromURL(path.c_str(), flags, nullptr, nullptr, resolution.get(), nullptr);
      FAILED(error))
    return {{}, Resolution::Refused, error};
  const HANDLE waits[] = {resolution->done(), interrupt};
  const DWORD result = ::WaitForMultipleObjects(interrupt ? 2 : 1, waits, FALSE, static_cast<DWORD>(timeout.count()));
  if (result != WAIT_OBJECT_0) {
    resolution->abandon();
    return {{}, result == WAIT_OBJECT_0 + 1 ? Resolution::Interrupted : Resolution::TimedOut};
  }
  ComPtr<IMFMediaSource> source = resolution->takeSource();
  const Resolution outcome = source ? Resolution::Made : Resolution::Refused;
  return {std::move(source), outcome, source ? S_OK : resolution->error()};
}

}  // namespace qova::aplayer
