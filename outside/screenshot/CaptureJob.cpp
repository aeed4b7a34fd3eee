#include "outside/screenshot/CaptureJob.h"

#include <windows.h>
#include <mfapi.h>
#include <objbase.h>

#include <memory>

#include "outside/screenshot/SourceReaderCapture.h"
#include "runtime/UniqueHandle.h"

namespace qova::screenshot {
namespace {

// What the decoding thread owns: its share of the progress and the path.
struct CaptureTask {
  std::shared_ptr<CaptureProgress> progress;
  std::wstring path;
  FrameSource source = nullptr;
  HMODULE pinnedModule = nullptr;
};

// COM (free-threaded, as the Source Reader's own threads are) and Media
// Foundation for the life of the decoding thread.
class DecodingThreadPlatform {
 public:
  DecodingThreadPlatform()
      : comStarted_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))),
        mediaFoundationStarted_(SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_LITE))) {}
  ~DecodingThreadPlatform() {
    if (mediaFoundationStarted_) ::MFShutdown();
    if (comStarted_) ::CoUninitialize();
  }
  DecodingThreadPlatform(const DecodingThreadPlatform&) = delete;
  DecodingThreadPlatform& operator=(const DecodingThreadPlatform&) = delete;

  bool ready() const { return mediaFoundationStarted_; }

 private:
  bool comStarted_;
  bool mediaFoundationStarted_;
};

void runTask(const CaptureTask& task) {
  const DecodingThreadPlatform platform;
  if (platform.ready()) task.source(task.path, *task.progress);
}

DWORD WINAPI decodingThread(void* parameter) {
  HMODULE pinned = nullptr;
  {
    const std::unique_ptr<CaptureTask> task(static_cast<CaptureTask*>(parameter));
    pinned = task->pinnedModule;
    try {
      runTask(*task);
    } catch (...) {
      // Out of memory while decoding: the caller gets what was found before.
    }
  }
  // The last thing this thread does may be to unload the DLL its code is in.
  ::FreeLibraryAndExitThread(pinned, 0);
}

// A counted reference on the module that holds this code; null on failure.
HMODULE pinThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&decodingThread)), &module);
  return module;
}

}  // namespace

bool CaptureProgress::offer(media::RgbImage frame, int pixelAspectNumerator, int pixelAspectDenominator) {
  const std::lock_guard hold(lock_);
  if (abandoned_.load()) return true;
  // Every frame comes from the same video, so they share one pixel aspect.
  pixelAspectNumerator_ = pixelAspectNumerator;
  pixelAspectDenominator_ = pixelAspectDenominator;
  return picker_.offer(std::move(frame));
}

void CaptureProgress::markSoundOnly() {
  const std::lock_guard hold(lock_);
  soundOnly_ = true;
}

CaptureResult CaptureProgress::finish() {
  const std::lock_guard hold(lock_);
  abandoned_.store(true);
  return {picker_.takeBest(), pixelAspectNumerator_, pixelAspectDenominator_, soundOnly_};
}

CaptureResult captureWithin(const std::wstring& path, std::chrono::milliseconds limit, FrameSource source) {
  auto progress = std::make_shared<CaptureProgress>();
  auto task = std::make_unique<CaptureTask>(CaptureTask{progress, path, source ? source : captureFrames, pinThisModule()});
  if (!task->pinnedModule) return {};
  UniqueHandle thread(::CreateThread(nullptr, 0, decodingThread, task.get(), 0, nullptr));
  if (!thread) {
    ::FreeLibrary(task->pinnedModule);
    return {};
  }
  static_cast<void>(task.release());  // the thread owns it now
  ::WaitForSingleObject(thread.get(), static_cast<DWORD>(limit.count()));
  return progress->finish();
}

}  // namespace qova::screenshot
