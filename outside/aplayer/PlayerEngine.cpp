#include "outside/aplayer/PlayerEngine.h"

#include <chrono>

#include "outside/aplayer/PlayerUnits.h"
#include "outside/aplayer/DecodedFile.h"

namespace qova::aplayer {
namespace {

// How long opening may hold up the caller's thread for the answer; a file
// that takes longer goes on opening, and a failure then comes as event 5.
constexpr std::chrono::milliseconds kOpenAnswerWait{150};

constexpr const char* kVersionText = "2.0.0 (Media Foundation Source Reader)";

// The ANSI path as UTF-16; empty when it does not convert.
std::wstring widePath(const char* path) {
  const int length = ::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

}  // namespace

PlayerEngine::PlayerEngine(HWND parent, RECT rectangle, const EngineHandlers& handlers)
    : handlers_(handlers),
      window_(parent, rectangle, *this),
      diagnostics_(std::make_shared<DiagnosticLines>(window_.handle())) {
  window_.setHandler(handlers_[1]);
  if (window_.valid()) startWorker();
}

void PlayerEngine::startWorker() {
  worker_.reset();
  picture_ = std::make_shared<VideoPicture>();
  worker_ = std::make_unique<PlaybackWorker>(window_.handle(), picture_, diagnostics_);
  worker_->setScaling(scaling_);
  worker_->setPresentation(presentation_);
  applyAudio();
}

PlayerEngine::~PlayerEngine() { worker_.reset(); }

int32_t PlayerEngine::open(const char* path) { return openFile(path ? widePath(path) : std::wstring()); }

int32_t PlayerEngine::openFile(const std::wstring& path) {
  endReported_ = false;
  seeking_ = false;
  started_ = false;
  // Only what can be told at once is refused here; the file's contents are
  // looked at on the playback thread, whose answer comes in time or as event 5.
  if (path.empty() || !valid() || !identifyFile(path)) {
    refuse();
    return kAPlayerCannotOpen;
  }
  if (worker_->stuck()) {
    diagnostics_->add("the playback thread is stuck in the platform: a new one takes over");
    // The platform hangs on the file before: that thread is left to it, with
    // the frame it was drawing, and a fresh one plays from here on.
    startWorker();
    if (!worker_->running()) {
      refuse();
      return kAPlayerCannotOpen;
    }
  }
  session_ = ++lastSession_;
  fileOpen_ = true;
  path_ = path;
  changeState(kAPlayerStateOpening);
  worker_->open(session_, path);
  if (worker_->waitForAnswer(session_, kOpenAnswerWait) == PlaybackWorker::OpenAnswer::Failed) {
    refuse();
    return kAPlayerCannotOpen;
  }
  return kAPlayerOk;
}

// What played before stops; its last frame stays up until another file shows one.
void PlayerEngine::refuse() {
  if (worker_) worker_->close(false);
  forgetFile();
}

void PlayerEngine::forgetFile() {
  session_ = 0;
  fileOpen_ = false;
  changeState(kAPlayerStateReady);
}

int32_t PlayerEngine::close() {
  endReported_ = false;
  seeking_ = false;
  if (worker_) worker_->close(true);
  forgetFile();
  return kAPlayerOk;
}

int32_t PlayerEngine::play() {
  if (!fileOpen_) return kAPlayerFailed;
  if (state_ == kAPlayerStatePlaying || state_ == kAPlayerStateOpening) return kAPlayerOk;
  // After its end the file starts over from its start; that run ends with its own event.
  if (endReported_) return openFile(std::wstring(path_)) == kAPlayerOk ? kAPlayerOk : kAPlayerFailed;
  worker_->play();
  changeState(started_ ? kAPlayerStatePlaying : kAPlayerStateOpening);
  return kAPlayerOk;
}

int32_t PlayerEngine::pause() {
  if (!fileOpen_ || state_ == kAPlayerStateReady) return kAPlayerFailed;
  if (state_ == kAPlayerStatePaused) return kAPlayerOk;
  worker_->pause();
  changeState(kAPlayerStatePaused);
  return kAPlayerOk;
}

int32_t PlayerEngine::setPosition(int32_t milliseconds) {
  if (!fileOpen_ || endReported_) return kAPlayerFailed;
  worker_->seek(ticksFromMilliseconds(milliseconds));
  seeking_ = true;
  return kAPlayerOk;
}

int32_t PlayerEngine::setVolume(int32_t volume) {
  volume_ = clampVolume(volume);
  applyAudio();
  return kAPlayerOk;
}

int32_t PlayerEngine::setConfig(int32_t id, const char* value) {
  if (!value) return kAPlayerFailed;
  if (id == kAPlayerConfigScaling) {
    const auto scaling = parsePictureScaling(value);
    if (!scaling) return kAPlayerFailed;
    applyScaling(*scaling);
    return kAPlayerOk;
  }
  if (id == kAPlayerConfigPresentation) {
    presentation_ = parsePresentationChoice(value);
    if (worker_) worker_->setPresentation(presentation_);
    return kAPlayerOk;
  }
  const auto flag = parseFlag(value);
  if (!flag) return kAPlayerFailed;
  switch (id) {
    case kAPlayerConfigKeepAspect:
      if (!*flag)
        applyScaling(PictureScaling::Stretch);
      else if (scaling_ == PictureScaling::Stretch)
        applyScaling(PictureScaling::Fit);
      return kAPlayerOk;
    case kAPlayerConfigMute:
      muted_ = *flag;
      applyAudio();
      return kAPlayerOk;
    default:
      return kAPlayerFailed;
  }
}

int32_t PlayerEngine::setLogo(HBITMAP logo) {
  window_.setLogo(logo);
  return kAPlayerOk;
}

PlaybackWorker::Status PlayerEngine::status() const {
  return fileOpen_ && worker_ ? worker_->status() : PlaybackWorker::Status{};
}

int32_t PlayerEngine::position() const { return millisecondsFromTicks(status().position); }

int32_t PlayerEngine::duration() const { return millisecondsFromTicks(status().duration); }

int32_t PlayerEngine::videoWidth() const { return static_cast<int32_t>(status().video.cx); }

int32_t PlayerEngine::videoHeight() const { return static_cast<int32_t>(status().video.cy); }

const char* PlayerEngine::config(int32_t id) {
  switch (id) {
    case kAPlayerConfigKeepAspect:
      text_ = flagText(scaling_ != PictureScaling::Stretch);
      return text_.c_str();
    case kAPlayerConfigScaling:
      text_ = pictureScalingText(scaling_);
      return text_.c_str();
    case kAPlayerConfigMute:
      text_ = flagText(muted_);
      return text_.c_str();
    case kAPlayerConfigDiagnostics:
      text_ = diagnostics_->take();
      return text_.c_str();
    case kAPlayerConfigPresentation:
      text_ = presentationChoiceText(presentation_);
      return text_.c_str();
    case kAPlayerConfigPresentationInUse:
      text_ = presentationPathText(worker_ ? worker_->presentationPath() : PresentationPath::Gdi);
      return text_.c_str();
    default:
      return nullptr;
  }
}

const char* PlayerEngine::version() {
  text_ = kVersionText;
  return text_.c_str();
}

void PlayerEngine::onPlaybackNews(uint32_t session, PlaybackNews news) {
  // News of a file that has since been closed or replaced is old.
  if (session == 0 || session != session_) return;
  switch (news) {
    case PlaybackNews::Started:
      started_ = true;
      if (state_ == kAPlayerStateOpening) changeState(kAPlayerStatePlaying);
      return;
    case PlaybackNews::Moved:
      seeking_ = false;
      return;
    case PlaybackNews::Ended:
      if (endReported_) return;
      endReported_ = true;
      changeState(kAPlayerStateReady);
      window_.postHandlerEvent(kAPlayerEventFileEnded, 0);
      return;
    case PlaybackNews::Failed:
      forgetFile();
      window_.postHandlerEvent(kAPlayerEventOpenFailed, 0);
      return;
  }
}

bool PlayerEngine::paintVideo(HDC dc, const RECT& client) {
  if (!picture_ || !picture_->hasFrame()) return false;
  // The card's picture is the playback thread's to present: this thread is never held up by it.
  if (worker_ && worker_->presentationPath() != PresentationPath::Gdi) {
    worker_->repaint();
    return true;
  }
  return picture_->draw(dc, client, scaling_);
}

void PlayerEngine::onWindowGone() {
  worker_.reset();
  session_ = 0;
  fileOpen_ = false;
  state_ = kAPlayerStateReady;
}

void PlayerEngine::changeState(int32_t state) {
  if (state == state_) return;
  state_ = state;
  window_.postHandlerEvent(kAPlayerEventStateChanged, state);
}

void PlayerEngine::applyScaling(PictureScaling scaling) {
  scaling_ = scaling;
  if (worker_) worker_->setScaling(scaling_);
  if (window_.valid()) ::InvalidateRect(window_.handle(), nullptr, FALSE);
}

void PlayerEngine::applyAudio() {
  if (worker_) worker_->setAudioLevel(muted_ ? 0.0f : volumeLevel(volume_));
}

}  // namespace qova::aplayer
