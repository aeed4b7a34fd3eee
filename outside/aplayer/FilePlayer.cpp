#include "outside/aplayer/FilePlayer.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "outside/aplayer/AudioOutput.h"
#include "outside/aplayer/DecoderConnection.h"
#include "outside/aplayer/DiagnosticLines.h"
#include "outside/aplayer/FramePresentation.h"
#include "outside/aplayer/LocalDecodedFile.h"
#include "outside/aplayer/MediaClock.h"
#include "outside/aplayer/PlaybackMessages.h"
#include "outside/aplayer/PlaybackShared.h"
#include "outside/aplayer/PlaybackState.h"
#include "outside/aplayer/RemoteDecodedFile.h"
#include "outside/media/MediaFileCheck.h"
#include "runtime/AnsiText.h"

namespace qova::aplayer {
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
// A thread still opening a file must not count as stuck.
static_assert(kOpenTimeout.count() < kStuckMilliseconds);

// Everything the playback thread alone touches.
class FilePlayer {
 public:
  explicit FilePlayer(PlaybackShared& shared)
      : shared_(shared), presentation_(shared.window, *shared.picture, shared.path), decoder_(shared.diagnostics) {}

  void run() {
    shared_.busySince = steadyMilliseconds();
    while (takeRequests()) {
      if (decodesIn(state_))
        step();
      else if (state_ == PlaybackState::Paused && !sleep(kDeepPauseMilliseconds))
        sleepDeeply();
      else if (state_ != PlaybackState::Paused)
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
          become(PlaybackEvent::Pause);
          clock_.pause();
          audio_.pause();
          break;
        case PlaybackRequest::Kind::Play:
          play();
          break;
        case PlaybackRequest::Kind::Seek:
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

  void become(PlaybackEvent event) { state_ = nextState(state_, event); }
  // Decoding up to the first frame of a start or a move.
  bool starting() const { return state_ == PlaybackState::Starting || state_ == PlaybackState::StartingPaused; }

  void play() {
    switch (state_) {
      case PlaybackState::Asleep:
        if (!wakeFromDeepSleep()) return;
        break;
      case PlaybackState::Paused:
        clock_.resume();
        audio_.resume();
        break;
      default:
        break;
    }
    become(PlaybackEvent::Play);
  }

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
    become(PlaybackEvent::FellAsleep);
    deepSleep_ = DeepSleep{reader_->path(), std::max<int64_t>(clock_.now(), 0), shared_.status};
    decoder_.end();
    reader_.reset();
    framePending_ = false;
    audio_.close();
    shared_.picture->releaseBackBuffer();
    presentation_.sleep(shared_.scaling.load());
    ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  }

  // Opens the file again where it stood; on failure it is reported
  // unplayable and false returned.
  bool wakeFromDeepSleep() {
    const DeepSleep slept = std::move(*deepSleep_);
    deepSleep_.reset();
    presentation_.choose(shared_.presentation.load(), shared_.scaling.load());
    if (!openReader(slept.path) || !reader_->seek(slept.position)) {
      fail();
      return false;
    }
    restart(PlaybackNews::Moved, slept.position);
    return true;
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
    presentation_.choose(shared_.presentation.load(), shared_.scaling.load());
    if (reader_ && reader_->isSameFile(path) && reader_->seek(0)) {
      // The same file again (one video looping): rewound, with the pipeline it has.
      restart(PlaybackNews::Started, 0);
      become(PlaybackEvent::Opened);
      return answer(session, PlaybackWorker::OpenAnswer::Opened);
    }
    closeFile();
    // Read here, not on the engine's thread: a fragmented file has its box headers all through it.
    if (const media::MediaFileVerdict verdict = media::checkMediaFile(path); verdict != media::MediaFileVerdict::MayPlay) {
      note(path, verdict == media::MediaFileVerdict::CutShort ? "refused: the file is cut short"
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
    become(PlaybackEvent::Opened);
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

  // Decodes the open file on from `time`, where the reader now stands, up
  // to its first frame; the caller says which start this is.
  void restart(PlaybackNews newsWhenShown, int64_t time) {
    showFrom_ = time;
    framePending_ = false;
    videoEnded_ = !reader_->hasVideo();
    audioEnded_ = !reader_->hasAudio();
    newsWhenShown_ = newsWhenShown;
    clock_.start(time, false);
    audio_.reset();
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
    if (state_ == PlaybackState::Asleep) {
      if (!wakeFromDeepSleep()) return;
      become(PlaybackEvent::Moved);
    }
    if (!reader_ || !reader_->seek(time)) return;
    restart(PlaybackNews::Moved, time);
    become(PlaybackEvent::Moved);
  }

  void closeFile() {
    become(PlaybackEvent::Closed);
    deepSleep_.reset();
    reader_.reset();
    framePending_ = false;
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
      if (starting()) {
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
    if (starting() && !reader_->hasVideo() && audio_.queuedMilliseconds() > 0) return firstOut();
    if (videoEnded_ && audioEnded_ && audio_.drained()) {
      if (starting()) return fail();  // nothing in the file could be decoded
      return endFile();
    }
    publishStatus();
    sleep(kSoundCheckMilliseconds);
  }

  // Where the stream's samples count from. A seek lands on the key frame
  // before its position: what comes before the position is not played; nor
  // is a frame too late to be shown in time (a busy machine).
  int64_t wantedFrom(bool video) const {
    if (video && !starting()) return clock_.now() - kLateFrame;
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
    presentation_.showNext(reader_->shownVideoSize().cx, reader_->decodedByCard(), shared_.scaling.load());
    if (!starting()) publishStatus();
  }

  // The first frame (or sound) of a start or a seek is out: the clock starts from it.
  void firstOut() {
    become(PlaybackEvent::FirstOut);
    const bool plays = state_ == PlaybackState::Playing;
    clock_.start(reader_->hasVideo() ? pendingTime_ : clock_.now(), plays);
    if (plays) audio_.resume();
    publishStatus();
    post(newsWhenShown_);
  }

  void endFile() {
    become(PlaybackEvent::ReachedEnd);
    clock_.pause();
    // The file stays open: played again, or opened again as the next entry, it is rewound.
    post(PlaybackNews::Ended);
  }

  void publishStatus() {
    PlaybackWorker::Status status;
    if (state_ == PlaybackState::Asleep) {
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
  DecoderConnection decoder_;
  // Media Foundation in this process, only for decoding here.
  LocalMedia localMedia_;
  std::unique_ptr<DecodedFile> reader_;
  std::vector<uint8_t> pcm_;  // the sound last read
  AudioOutput audio_;
  MediaClock clock_;
  uint32_t session_ = 0;
  PlaybackState state_ = PlaybackState::NoFile;
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
  std::optional<DeepSleep> deepSleep_;  // while Asleep
};

}  // namespace

void playFiles(PlaybackShared& shared) { FilePlayer(shared).run(); }

}  // namespace qova::aplayer
