#include "outside/aplayer/PlaybackWorker.h"

#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <limits>
#include <mutex>
#include <optional>
#include <utility>

#include "outside/aplayer/AudioOutput.h"
#include "outside/aplayer/DecoderProcess.h"
#include "outside/aplayer/DiagnosticLines.h"
#include "outside/aplayer/FramePresentation.h"
#include "outside/aplayer/LocalDecodedFile.h"
#include "outside/aplayer/MediaClock.h"
#include "outside/aplayer/MediaFileCheck.h"
#include "outside/aplayer/PlaybackMessages.h"
#include "outside/aplayer/RemoteDecodedFile.h"
#include "runtime/AnsiText.h"

namespace qova::aplayer {

struct PlaybackRequest {
  enum class Kind { Open, Close, ClosePicture, Pause, Play, Seek, Repaint, Quit };
  Kind kind;
  uint32_t session = 0;
  std::wstring path;
  int64_t time = 0;
};

// What the engine's thread and the playback thread both reach. Owned by
// both, so that a playback thread left stuck in the platform outlives its engine safely.
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

  // When the thread last woke to work (steady clock, milliseconds); 0 while it sleeps.
  std::atomic<int64_t> busySince{0};
  std::atomic<float> audioLevel{1.0f};
  std::atomic<PictureScaling> scaling{PictureScaling::Fit};
  std::atomic<PresentationChoice> presentation{PresentationChoice::Auto};
  std::atomic<PresentationPath> path{PresentationPath::Gdi};
};

namespace {

// How long the platform may take to make sense of a file before it counts as unplayable.
constexpr std::chrono::milliseconds kOpenTimeout{5000};
// Sound decoded ahead of what plays, so that a slow frame never makes it stutter.
constexpr int64_t kAudioAheadMilliseconds = 300;
// A frame this late (100 ns units) is passed over rather than shown.
constexpr int64_t kLateFrame = 800'000;
// How often the thread looks at the sound while it waits for a frame or for the sound to end.
constexpr DWORD kSoundCheckMilliseconds = 20;
// Paused this long, the file lets its decoders and the sound device go; it
// is opened again where it stood when it plays on.
constexpr DWORD kDeepPauseMilliseconds = 10'000;
// Samples this much before where a start or seek wants to be are passed over (100 ns units).
constexpr int64_t kFrameTolerance = 200'000;
// How long the engine's end waits for the playback thread to finish.
constexpr DWORD kStopWaitMilliseconds = 3000;
// Longer than any one step takes, opening included (kOpenTimeout): a thread
// busy this long is stuck in the platform.
constexpr int64_t kStuckMilliseconds = 8000;

int64_t steadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Everything the playback thread alone touches.
class Playback {
 public:
  explicit Playback(PlaybackShared& shared)
      : shared_(shared), presentation_(shared.window, *shared.picture, shared.path), decoder_(shared.diagnostics) {}

  void run() {
    shared_.busySince = steadyMilliseconds();
    while (takeRequests()) {
      if (wantsToStep())
        step();
      else if (pausedWithPipeline() && !sleep(kDeepPauseMilliseconds))
        sleepDeeply();
      else if (!pausedWithPipeline())
        sleep(INFINITE);
    }
    // Let go first: the decoding process closes the file itself when the connection goes.
    decoder_.end();
    closeFile();
    audio_.close();
  }

 private:
  // False on Quit.
  bool takeRequests() {
    std::deque<PlaybackRequest> requests;
    {
      std::lock_guard lock(shared_.mutex);
      requests.swap(shared_.requests);
      ::ResetEvent(shared_.wake.get());
      ::ResetEvent(shared_.superseded.get());
    }
    for (PlaybackRequest& request : requests) {
      switch (request.kind) {
        case PlaybackRequest::Kind::Open:
          startFile(request.session, request.path);
          break;
        case PlaybackRequest::Kind::Close:
          closeFile();
          break;
        case PlaybackRequest::Kind::ClosePicture:
          // Nothing plays until another file is opened: nothing to decode either.
          decoder_.end();
          closeFile();
          audio_.close();
          presentation_.letWindowGo();
          shared_.picture->clear();
          ::InvalidateRect(shared_.window, nullptr, FALSE);
          break;
        case PlaybackRequest::Kind::Pause:
          paused_ = true;
          clock_.pause();
          audio_.pause();
          break;
        case PlaybackRequest::Kind::Play:
          paused_ = false;
          wakeFromDeepSleep();
          if (firstShown_) {
            clock_.resume();
            audio_.resume();
          }
          break;
        case PlaybackRequest::Kind::Seek:
          wakeFromDeepSleep();
          seek(request.time);
          break;
        case PlaybackRequest::Kind::Repaint:
          presentation_.repaint(shared_.scaling.load());
          break;
        case PlaybackRequest::Kind::Quit:
          return false;
      }
    }
    publishStatus();
    return true;
  }

  bool wantsToStep() const { return reader_ && playing_ && (!paused_ || !firstShown_); }
  bool pausedWithPipeline() const { return reader_ && playing_ && paused_ && firstShown_; }

  // True when a request woke the thread, false when the time ran out.
  bool sleep(DWORD milliseconds) {
    shared_.busySince = 0;
    const bool woken = ::WaitForSingleObject(shared_.wake.get(), milliseconds) == WAIT_OBJECT_0;
    shared_.busySince = steadyMilliseconds();
    return woken;
  }

  // A long pause costs nothing: the decoding process (and with it the
  // decoders, the file and all their memory), the sound device, the spare
  // frame buffer and the graphics card's device go, and the frame on show
  // stays (painted through GDI until playback goes on). The process's working set
  // is then trimmed, as Windows does for a program left idle: what the pause
  // no longer touches leaves memory until it is needed again. (Wine keeps
  // the working set as it is.)
  void sleepDeeply() {
    publishStatus();
    deepSleep_ = DeepSleep{reader_->path(), std::max<int64_t>(clock_.now(), 0), shared_.status};
    decoder_.end();
    reader_.reset();
    framePending_ = false;
    audio_.close();
    shared_.picture->releaseBackBuffer();
    presentation_.sleep(shared_.scaling.load());
    ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  }

  // Opens the file again where it stood; on failure it is reported unplayable.
  void wakeFromDeepSleep() {
    if (!deepSleep_) return;
    const DeepSleep slept = std::move(*deepSleep_);
    deepSleep_.reset();
    presentation_.choose(shared_.presentation.load(), shared_.scaling.load());
    if (!openReader(slept.path) || !reader_->seek(slept.position)) return fail();
    restart(PlaybackNews::Moved, slept.position);
  }

  void post(PlaybackNews news) const {
    ::PostMessageA(shared_.window, kPlaybackMessage, session_, static_cast<LPARAM>(news));
  }

  void answer(uint32_t session, PlaybackWorker::OpenAnswer answer) {
    {
      std::lock_guard lock(shared_.mutex);
      shared_.answeredSession = session;
      shared_.answer = answer;
    }
    ::SetEvent(shared_.answered.get());
  }

  void startFile(uint32_t session, const std::wstring& path) {
    session_ = session;
    // Every open plays: a pause belonged to the file before.
    paused_ = false;
    presentation_.choose(shared_.presentation.load(), shared_.scaling.load());
    if (reader_ && reader_->isSameFile(path) && reader_->seek(0)) {
      // The same file again (one video looping): rewound, with the pipeline it has.
      restart(PlaybackNews::Started, 0);
      return answer(session, PlaybackWorker::OpenAnswer::Opened);
    }
    closeFile();
    // Read here, not on the engine's thread: a fragmented file has its box headers all through it.
    if (const MediaFileVerdict verdict = checkMediaFile(path); verdict != MediaFileVerdict::MayPlay) {
      note(path, verdict == MediaFileVerdict::CutShort ? "refused: the file is cut short"
                                                        : "refused: it cannot be read: " +
                                                              describeError(static_cast<long>(::GetLastError())));
      post(PlaybackNews::Failed);
      return answer(session, PlaybackWorker::OpenAnswer::Failed);
    }
    if (!openReader(path)) {
      post(PlaybackNews::Failed);
      return answer(session, PlaybackWorker::OpenAnswer::Failed);
    }
    if (!reader_->hasVideo()) {
      presentation_.letWindowGo();
      shared_.picture->clear();
      ::InvalidateRect(shared_.window, nullptr, FALSE);
    }
    restart(PlaybackNews::Started, 0);
    answer(session, PlaybackWorker::OpenAnswer::Opened);
  }

  // Opens `path` into reader_ and makes the sound device ready for it; false
  // (reader_ null) when there is nothing to play in it.
  bool openReader(const std::wstring& path) {
    Resolution outcome = Resolution::Refused;
    std::string why;
    reader_ = openDecoded(path, outcome, why);
    // A platform that failed for a moment (busy, a decoder still shutting
    // down, a decoding process that crashed) gets one more try before the
    // file counts as unplayable; a file that took the whole time-out does not.
    if (!reader_ && outcome == Resolution::Refused && identifyFile(path)) {
      why.clear();
      reader_ = openDecoded(path, outcome, why);
    }
    if (!reader_ && outcome != Resolution::Interrupted) {
      if (why.empty())
        why = outcome == Resolution::TimedOut ? "the platform made nothing of it in " +
                                                    std::to_string(kOpenTimeout.count() / 1000) + " s"
                                              : "the platform found nothing in it to decode";
      note(path, "cannot be played: " + why);
    }
    if (reader_ && reader_->hasAudio() && !audio_.prepare(reader_->audioFormat())) {
      // No sound device: the picture plays without its sound.
      reader_->dropAudio();
    }
    if (reader_ && !reader_->hasVideo() && !reader_->hasAudio()) reader_.reset();
    return static_cast<bool>(reader_);
  }

  // Plays the open file on from `time`, where the reader now stands.
  void restart(PlaybackNews newsWhenShown, int64_t time) {
    showFrom_ = time;
    framePending_ = false;
    videoEnded_ = !reader_->hasVideo();
    audioEnded_ = !reader_->hasAudio();
    firstShown_ = false;
    newsWhenShown_ = newsWhenShown;
    clock_.start(time, false);
    audio_.reset();
    playing_ = true;
  }

  // The file opened in the decoding process, or here when that cannot be started.
  std::unique_ptr<DecodedFile> openDecoded(const std::wstring& path, Resolution& outcome, std::string& why) {
    const HANDLE interrupt = shared_.superseded.get();
    const LUID adapter = presentation_.presentingAdapter();
    if (decoder_.start(interrupt))
      return RemoteDecodedFile::open(decoder_, path, kOpenTimeout, interrupt, adapter, outcome, why);
    if (::WaitForSingleObject(interrupt, 0) == WAIT_OBJECT_0) {
      outcome = Resolution::Interrupted;
      return nullptr;
    }
    if (!localMedia_.started()) localMedia_.start();
    return LocalDecodedFile::open(path, kOpenTimeout, interrupt, adapter, outcome, why);
  }

  void note(const std::wstring& path, const std::string& what) const {
    if (shared_.diagnostics) shared_.diagnostics->add(wideToAnsi(path) + ": " + what);
  }

  void seek(int64_t time) {
    if (!reader_ || !reader_->seek(time)) return;
    restart(PlaybackNews::Moved, time);
  }

  void closeFile() {
    deepSleep_.reset();
    reader_.reset();
    framePending_ = false;
    playing_ = false;
    firstShown_ = false;
    audio_.reset();
    clock_.start(0, false);
  }

  void fail() {
    if (reader_) note(reader_->path(), "decoding failed while playing");
    post(PlaybackNews::Failed);
    closeFile();
  }

  void step() {
    if (!feedAudio()) return fail();
    if (!videoEnded_ && !framePending_ && !readFrame()) return fail();
    if (framePending_) {
      if (!firstShown_) {
        showFrame();
        return firstOut();
      }
      const int64_t early = pendingTime_ - clock_.now();
      if (early > 10'000) {
        const auto wait = static_cast<DWORD>(early / 10'000);
        sleep(reader_->hasAudio() ? std::min(wait, kSoundCheckMilliseconds) : wait);
        return;
      }
      return showFrame();
    }
    // Sound alone: it is out as soon as some is queued.
    if (!firstShown_ && !reader_->hasVideo() && audio_.queuedMilliseconds() > 0) return firstOut();
    if (videoEnded_ && audioEnded_ && audio_.drained()) {
      if (!firstShown_) return fail();  // nothing in the file could be decoded
      return endFile();
    }
    publishStatus();
    sleep(kSoundCheckMilliseconds);
  }

  // Where the stream's samples count from. A seek lands on the key frame
  // before its position: what comes before the position is not played; nor
  // is a frame too late to be shown in time (a busy machine).
  int64_t wantedFrom(bool video) const {
    if (video && firstShown_) return clock_.now() - kLateFrame;
    return showFrom_ > 0 ? showFrom_ - kFrameTolerance : std::numeric_limits<int64_t>::min();
  }

  // Decodes sound until enough is queued; false when the file fails.
  bool feedAudio() {
    while (!audioEnded_ && audio_.queuedMilliseconds() < kAudioAheadMilliseconds) {
      int64_t time = 0;
      const DecodedFile::Read read = reader_->readAudio(wantedFrom(false), pcm_, time);
      if (read == DecodedFile::Read::Failed) return false;
      if (read == DecodedFile::Read::EndOfStream) {
        audioEnded_ = true;
        break;
      }
      if (!audio_.write(pcm_.data(), pcm_.size(), shared_.audioLevel.load())) {
        // The device went away: the rest plays silent.
        reader_->dropAudio();
        audioEnded_ = true;
      }
    }
    return true;
  }

  // Decodes the next frame into the picture's back buffer; false when the file fails.
  bool readFrame() {
    int64_t time = 0;
    const DecodedFile::Read read = reader_->readVideo(wantedFrom(true), *shared_.picture, time);
    if (read == DecodedFile::Read::Failed) return false;
    if (read == DecodedFile::Read::EndOfStream) {
      videoEnded_ = true;
      return true;
    }
    framePending_ = true;
    pendingTime_ = time;
    return true;
  }

  void showFrame() {
    framePending_ = false;
    presentation_.showNext(reader_->shownVideoSize().cx, shared_.scaling.load());
    if (firstShown_) publishStatus();
  }

  // The first frame (or sound) of a start or a seek is out: the clock starts from it.
  void firstOut() {
    firstShown_ = true;
    clock_.start(reader_->hasVideo() ? pendingTime_ : clock_.now(), !paused_);
    if (!paused_) audio_.resume();
    publishStatus();
    post(newsWhenShown_);
  }

  void endFile() {
    playing_ = false;
    clock_.pause();
    // The file stays open: played again, or opened again as the next entry, it is rewound.
    post(PlaybackNews::Ended);
  }

  void publishStatus() {
    PlaybackWorker::Status status;
    if (deepSleep_) {
      status = deepSleep_->status;
    } else if (reader_) {
      status.position = std::max<int64_t>(clock_.now(), 0);
      status.duration = reader_->duration();
      status.video = reader_->shownVideoSize();
    }
    std::lock_guard lock(shared_.mutex);
    shared_.status = status;
  }

  PlaybackShared& shared_;
  FramePresentation presentation_;
  // Started at the first file, ended by a long pause.
  DecoderProcess decoder_;
  // Media Foundation in this process, only for decoding here.
  LocalMedia localMedia_;
  std::unique_ptr<DecodedFile> reader_;
  std::vector<uint8_t> pcm_;  // the sound last read
  AudioOutput audio_;
  MediaClock clock_;
  uint32_t session_ = 0;
  bool paused_ = false;
  bool playing_ = false;      // a file is open and has not ended
  bool firstShown_ = false;   // since the last start or seek
  bool videoEnded_ = true;
  bool audioEnded_ = true;
  bool framePending_ = false;  // the back buffer holds the next frame
  int64_t pendingTime_ = 0;
  PlaybackNews newsWhenShown_ = PlaybackNews::Started;
  int64_t showFrom_ = 0;  // where the last start or seek wants the picture to be

  struct DeepSleep {
    std::wstring path;
    int64_t position = 0;
    PlaybackWorker::Status status;
  };
  std::optional<DeepSleep> deepSleep_;
};

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
    Playback(*shared).run();
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
