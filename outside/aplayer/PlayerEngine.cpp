#include "outside/aplayer/PlayerEngine.h"

#include <chrono>

#include "outside/aplayer/MediaFileCheck.h"
#include "outside/aplayer/PlayerUnits.h"
#include "outside/aplayer/WinePlatform.h"

namespace qova::aplayer {
namespace {

// How long opening may wait for the platform to make sense of a file. A good
// file takes well under a second even on the first open (which starts the
// decoders); a file that takes longer is treated as one that cannot be opened.
constexpr std::chrono::milliseconds kOpenTimeout{5000};

// How long a resumed file may take to confirm that it plays before the
// engine assumes the stall of Wine's video renderer (see MediaSession).
constexpr UINT kResumeConfirmationMilliseconds = 400;
constexpr UINT_PTR kResumeWatchTimer = 100;
constexpr int kMaxResumeReleases = 10;

// Under Wine the video renderer can deadlock when the presentation clock
// stops at the end of a file (its clock sink waits for the presenter's
// streaming thread while that thread waits for a lock the sink holds): the
// end is never reported and shutting the renderer down hangs. So there a file
// with video ends by pausing on its last frames, this long before its end.
constexpr int32_t kEarlyEndMilliseconds = 250;
constexpr UINT_PTR kEarlyEndTimer = 101;

// A file paused while it opens is paused once it has played this long.
constexpr int32_t kPlayedAMomentMilliseconds = 500;
constexpr UINT kPendingPauseCheckMilliseconds = 40;
constexpr UINT_PTR kPendingPauseTimer = 102;

constexpr const char* kVersionText = "1.0.0 (Media Foundation MFPlay)";

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
    : handlers_(handlers), window_(parent, rectangle, *this) {
  window_.setHandler(handlers_[1]);
}

PlayerEngine::~PlayerEngine() { session_.reset(); }

int32_t PlayerEngine::open(const char* path) {
  return openFile(path ? widePath(path) : std::wstring());
}

int32_t PlayerEngine::openFile(const std::wstring& path) {
  endSession();
  if (path.empty() || !window_.valid() || !mayBePlayable(path)) {
    window_.setVideoShowing(false);
    changeState(kAPlayerStateReady);
    return kAPlayerCannotOpen;
  }
  changeState(kAPlayerStateOpening);
  session_ = MediaSession::open(window_, path, ++lastSessionId_, kOpenTimeout);
  if (!session_) {
    window_.setVideoShowing(false);
    changeState(kAPlayerStateReady);
    return kAPlayerCannotOpen;
  }
  path_ = path;
  // Volume and picture settings follow once MFPlay has built the renderers (MEDIAITEM_SET).
  window_.setVideoShowing(session_->hasVideo());
  endsEarly_ = session_->hasVideo() && runningOnWine();
  return kAPlayerOk;
}

int32_t PlayerEngine::close() {
  endSession();
  window_.setVideoShowing(false);
  changeState(kAPlayerStateReady);
  return kAPlayerOk;
}

int32_t PlayerEngine::play() {
  if (!session_) return kAPlayerFailed;
  if (state_ == kAPlayerStatePlaying || state_ == kAPlayerStateOpening) return kAPlayerOk;
  if (pauseWhenStarted_) {
    // The pipeline was never paused: it is still starting.
    pauseWhenStarted_ = false;
    window_.stopTimer(kPendingPauseTimer);
    changeState(kAPlayerStateOpening);
    return kAPlayerOk;
  }
  // After its end the file starts over, opened afresh (there is no seeking
  // back to the start under Wine); that run ends with its own event.
  if (endReported_) return openFile(std::wstring(path_)) == kAPlayerOk ? kAPlayerOk : kAPlayerFailed;
  if (!session_->play()) return kAPlayerFailed;
  changeState(kAPlayerStatePlaying);
  resumeReleases_ = 0;
  window_.startTimer(kResumeWatchTimer, kResumeConfirmationMilliseconds);
  scheduleEarlyEnd();
  return kAPlayerOk;
}

int32_t PlayerEngine::pause() {
  if (!session_) return kAPlayerFailed;
  if (state_ == kAPlayerStatePaused) return kAPlayerOk;
  if (state_ == kAPlayerStateReady) return kAPlayerFailed;
  if (state_ == kAPlayerStateOpening) {
    // A video renderer paused before it showed its first frames never shows
    // another one under Wine, though the clock runs on after resuming; so
    // the pipeline is paused only once it has played for a moment.
    pauseWhenStarted_ = true;
  } else if (!session_->pause()) {
    return kAPlayerFailed;
  }
  window_.stopTimer(kEarlyEndTimer);
  changeState(kAPlayerStatePaused);
  return kAPlayerOk;
}

int32_t PlayerEngine::setPosition(int32_t milliseconds) {
  if (!session_ || !session_->seek(milliseconds)) return kAPlayerFailed;
  seeking_ = true;
  return kAPlayerOk;
}

int32_t PlayerEngine::setVolume(int32_t volume) {
  volume_ = clampVolume(volume);
  applyAudio();
  return kAPlayerOk;
}

int32_t PlayerEngine::setConfig(int32_t id, const char* value) {
  const auto flag = value ? parseFlag(value) : std::nullopt;
  if (!flag) return kAPlayerFailed;
  switch (id) {
    case kAPlayerConfigKeepAspect:
      keepAspect_ = *flag;
      applyPicture();
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

int32_t PlayerEngine::position() const { return session_ ? session_->positionMilliseconds() : 0; }

int32_t PlayerEngine::duration() const { return session_ ? session_->durationMilliseconds() : 0; }

int32_t PlayerEngine::videoWidth() const {
  return session_ ? static_cast<int32_t>(session_->nativeVideoSize().cx) : 0;
}

int32_t PlayerEngine::videoHeight() const {
  return session_ ? static_cast<int32_t>(session_->nativeVideoSize().cy) : 0;
}

const char* PlayerEngine::config(int32_t id) {
  switch (id) {
    case kAPlayerConfigKeepAspect:
      text_ = flagText(keepAspect_);
      return text_.c_str();
    case kAPlayerConfigMute:
      text_ = flagText(muted_);
      return text_.c_str();
    default:
      return nullptr;
  }
}

const char* PlayerEngine::version() {
  text_ = kVersionText;
  return text_.c_str();
}

void PlayerEngine::onMediaEvent(uint32_t sessionId, MediaEvent event) {
  // Events of a file that has since been closed are old news.
  if (!session_ || sessionId != session_->id()) return;
  switch (event.type) {
    case MFP_EVENT_TYPE_MEDIAITEM_SET:
      if (FAILED(event.result)) return endWithFailure();
      applyPicture();
      applyAudio();
      return;
    case MFP_EVENT_TYPE_PLAY:
      window_.stopTimer(kResumeWatchTimer);
      if (FAILED(event.result)) return endWithFailure();
      if (state_ == kAPlayerStateOpening) changeState(kAPlayerStatePlaying);
      if (pauseWhenStarted_) window_.startTimer(kPendingPauseTimer, kPendingPauseCheckMilliseconds);
      applyPicture();
      applyAudio();
      scheduleEarlyEnd();
      return;
    case MFP_EVENT_TYPE_POSITION_SET:
      seeking_ = false;
      return;
    case MFP_EVENT_TYPE_ERROR:
      return endWithFailure();
    case MFP_EVENT_TYPE_PLAYBACK_ENDED:
      return endFile();
    default:
      return;
  }
}

void PlayerEngine::onResized() {
  if (session_) session_->fitToWindow();
}

void PlayerEngine::onRepaintVideo() {
  if (session_) session_->repaint();
}

void PlayerEngine::onWindowGone() {
  endSession();
  state_ = kAPlayerStateReady;
}

void PlayerEngine::onTimer(UINT_PTR id) {
  if (id == kEarlyEndTimer) return scheduleEarlyEnd();
  if (id == kPendingPauseTimer) return pauseOncePlayedAMoment();
  if (id != kResumeWatchTimer) return;
  // Repeated: a release that comes before the session waits for it is lost.
  if (!session_ || state_ != kAPlayerStatePlaying || ++resumeReleases_ > kMaxResumeReleases) {
    window_.stopTimer(kResumeWatchTimer);
    return;
  }
  session_->releaseStalledStart();
}

void PlayerEngine::pauseOncePlayedAMoment() {
  if (!session_ || !pauseWhenStarted_) return window_.stopTimer(kPendingPauseTimer);
  if (session_->positionMilliseconds() < kPlayedAMomentMilliseconds) return;
  window_.stopTimer(kPendingPauseTimer);
  pauseWhenStarted_ = false;
  session_->pause();
}

void PlayerEngine::scheduleEarlyEnd() {
  window_.stopTimer(kEarlyEndTimer);
  if (!endsEarly_ || !session_ || endReported_ || state_ != kAPlayerStatePlaying) return;
  const int32_t duration = session_->durationMilliseconds();
  if (duration <= 0) return;
  const int32_t left = duration - kEarlyEndMilliseconds - session_->positionMilliseconds();
  // Timers run late rather than early; the remainder is checked again when one goes off.
  if (left > 30) return window_.startTimer(kEarlyEndTimer, static_cast<UINT>(left));
  session_->pause();
  endFile();
}

void PlayerEngine::endFile() {
  if (endReported_) return;
  endReported_ = true;
  window_.stopTimer(kEarlyEndTimer);
  // The last frame stays up until the next file shows its own.
  changeState(kAPlayerStateReady);
  window_.postHandlerEvent(kAPlayerEventFileEnded, 0);
}

void PlayerEngine::changeState(int32_t state) {
  if (state == state_) return;
  state_ = state;
  window_.postHandlerEvent(kAPlayerEventStateChanged, state);
}

void PlayerEngine::endSession() {
  window_.stopTimer(kResumeWatchTimer);
  window_.stopTimer(kPendingPauseTimer);
  window_.stopTimer(kEarlyEndTimer);
  session_.reset();
  endReported_ = false;
  endsEarly_ = false;
  seeking_ = false;
  pauseWhenStarted_ = false;
}

void PlayerEngine::endWithFailure() {
  endSession();
  window_.setVideoShowing(false);
  changeState(kAPlayerStateReady);
  window_.postHandlerEvent(kAPlayerEventOpenFailed, 0);
}

void PlayerEngine::applyPicture() {
  if (session_) session_->keepAspect(keepAspect_);
}

void PlayerEngine::applyAudio() {
  // Without a file the settings wait for the next one.
  if (session_) session_->setAudioLevel(muted_ ? 0.0f : volumeLevel(volume_));
}

}  // namespace qova::aplayer
