#include "outside/aplayer/PlaybackWorker.h"

#include <objbase.h>

#include <utility>

#include "outside/aplayer/FilePlayer.h"
#include "outside/aplayer/PlaybackShared.h"

namespace qova::aplayer {

namespace {

// How long the engine's end waits for the playback thread to finish.
constexpr DWORD kStopWaitMilliseconds = 3000;

struct ThreadStart {
  std::shared_ptr<PlaybackShared> shared;
  HMODULE module;
};

DWORD WINAPI playbackThread(void* parameter) {
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
  const HMODULE module = start->module;
  {
    std::shared_ptr<PlaybackShared> shared = std::move(start->shared);
    start.reset();
    const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    playFiles(*shared);
    if (com) ::CoUninitialize();
  }
  // The thread holds the DLL loaded, so that it may outlive its engine.
  ::FreeLibraryAndExitThread(module, 0);
}

}  // namespace

PlaybackWorker::PlaybackWorker(HWND window, std::shared_ptr<VideoPicture> picture,
                               std::shared_ptr<DiagnosticLines> diagnostics)
    : shared_(std::make_shared<PlaybackShared>(window, std::move(picture), std::move(diagnostics))) {
  if (!shared_->wake || !shared_->superseded || !shared_->answered) return;
  HMODULE module = nullptr;
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&playbackThread),
                            &module))
    return;
  auto* start = new ThreadStart{shared_, module};
  thread_.reset(::CreateThread(nullptr, 0, &playbackThread, start, 0, nullptr));
  if (!thread_) {
    delete start;
    ::FreeLibrary(module);
  }
}

PlaybackWorker::~PlaybackWorker() {
  if (!thread_) return;
  request({PlaybackRequest::Kind::Quit, 0, {}, 0});
  if (!stuck()) ::WaitForSingleObject(thread_.get(), kStopWaitMilliseconds);
}

bool PlaybackWorker::stuck() const {
  const int64_t since = shared_->busySince;
  return since != 0 && steadyMilliseconds() - since > kStuckMilliseconds;
}

void PlaybackWorker::request(PlaybackRequest request) {
  const bool supersedes = request.kind == PlaybackRequest::Kind::Open || request.kind == PlaybackRequest::Kind::Close ||
                          request.kind == PlaybackRequest::Kind::ClosePicture ||
                          request.kind == PlaybackRequest::Kind::Quit;
  std::lock_guard lock(shared_->mutex);
  shared_->requests.push_back(std::move(request));
  ::SetEvent(shared_->wake.get());
  if (supersedes) ::SetEvent(shared_->superseded.get());
}

void PlaybackWorker::open(uint32_t session, const std::wstring& path) {
  request({PlaybackRequest::Kind::Open, session, path, 0});
}

PlaybackWorker::OpenAnswer PlaybackWorker::waitForAnswer(uint32_t session, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    {
      std::lock_guard lock(shared_->mutex);
      if (shared_->answeredSession == session) return shared_->answer;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !thread_) return OpenAnswer::Pending;
    // Messages sent to this thread's windows are handled meanwhile: the
    // playback thread's graphics card may wait for the video window's thread
    // (Wine's swap chain on a child window does), and would wait out the whole time.
    HANDLE answered = shared_->answered.get();
    if (::MsgWaitForMultipleObjects(1, &answered, FALSE, static_cast<DWORD>(left.count()), QS_SENDMESSAGE) ==
        WAIT_OBJECT_0 + 1) {
      MSG message;
      ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
}

void PlaybackWorker::close(bool clearPicture) {
  request({clearPicture ? PlaybackRequest::Kind::ClosePicture : PlaybackRequest::Kind::Close, 0, {}, 0});
}

void PlaybackWorker::pause() { request({PlaybackRequest::Kind::Pause, 0, {}, 0}); }

void PlaybackWorker::play() { request({PlaybackRequest::Kind::Play, 0, {}, 0}); }

void PlaybackWorker::seek(int64_t time) { request({PlaybackRequest::Kind::Seek, 0, {}, time}); }

void PlaybackWorker::setAudioLevel(float level) { shared_->audioLevel = level; }

void PlaybackWorker::setScaling(PictureScaling scaling) { shared_->scaling = scaling; }

void PlaybackWorker::setPresentation(PresentationChoice choice) { shared_->presentation = choice; }

PresentationPath PlaybackWorker::presentationPath() const { return shared_->path.load(); }

void PlaybackWorker::repaint() { request({PlaybackRequest::Kind::Repaint, 0, {}, 0}); }

PlaybackWorker::Status PlaybackWorker::status() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->status;
}

}  // namespace qova::aplayer
