#include "outside/aplayer/MediaSession.h"

#include <evr.h>
#include <mfapi.h>
#include <objbase.h>
#include <propidl.h>

#include <memory>
#include <vector>

#include "outside/aplayer/MediaSourceResolver.h"
#include "outside/aplayer/PlayerCallback.h"
#include "outside/aplayer/PlayerUnits.h"
#include "outside/aplayer/SentMessageWait.h"

namespace qova::aplayer {
namespace {

// A PROPVARIANT that clears itself.
struct PropVariantValue {
  PROPVARIANT value;
  PropVariantValue() { ::PropVariantInit(&value); }
  ~PropVariantValue() { ::PropVariantClear(&value); }
  PropVariantValue(const PropVariantValue&) = delete;
  PropVariantValue& operator=(const PropVariantValue&) = delete;
  // MFPlay hands times out as VT_I8 or VT_UI8; 0 for anything else.
  int64_t ticks() const {
    return value.vt == VT_I8 || value.vt == VT_UI8 ? value.hVal.QuadPart : 0;
  }
};

// The first selected stream of each kind; -1 where there is none.
struct SelectedStreams {
  int video = -1;
  int audio = -1;
};

SelectedStreams selectedStreams(IMFMediaSource* source) {
  SelectedStreams found;
  ComPtr<IMFPresentationDescriptor> presentation;
  DWORD count = 0;
  if (FAILED(source->CreatePresentationDescriptor(presentation.put())) ||
      FAILED(presentation->GetStreamDescriptorCount(&count)))
    return found;
  for (DWORD index = 0; index < count; ++index) {
    BOOL selected = FALSE;
    ComPtr<IMFStreamDescriptor> stream;
    ComPtr<IMFMediaTypeHandler> types;
    GUID major{};
    if (FAILED(presentation->GetStreamDescriptorByIndex(index, &selected, stream.put())) || !selected ||
        FAILED(stream->GetMediaTypeHandler(types.put())) || FAILED(types->GetMajorType(&major)))
      continue;
    if (major == MFMediaType_Video && found.video < 0) found.video = static_cast<int>(index);
    if (major == MFMediaType_Audio && found.audio < 0) found.audio = static_cast<int>(index);
  }
  return found;
}

// Gives `stream` of the item a renderer of our own; null when the item refuses it.
ComPtr<IMFActivate> attachRenderer(IMFPMediaItem* item, int stream, ComPtr<IMFActivate> renderer) {
  if (!renderer || FAILED(item->SetStreamSink(static_cast<DWORD>(stream), renderer.get()))) return {};
  return renderer;
}

// Pausing takes a few milliseconds; a player that does not confirm it in
// this time is shut down all the same.
constexpr std::chrono::milliseconds kPauseWait{1000};
constexpr DWORD kFrameReturnMilliseconds = 100;
// A teardown normally takes a tenth of a second; one that hangs in the
// platform is abandoned after this, with its thread.
constexpr std::chrono::milliseconds kTeardownLimit{4000};

// Shutting one file's player, renderers and source down, on a thread of its
// own so that the engine's thread never hangs in the platform.
struct Teardown {
  ComPtr<IMFPMediaPlayer> player;
  ComPtr<PlayerCallback> callback;
  ComPtr<IMFMediaSource> source;
  ComPtr<IMFActivate> videoRenderer;
  ComPtr<IMFActivate> audioRenderer;

  static DWORD WINAPI run(void* self) {
    std::unique_ptr<Teardown> teardown(static_cast<Teardown*>(self));
    const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    teardown->shutDown();
    teardown.reset();
    if (com) ::CoUninitialize();
    return 0;
  }

  void shutDown() {
    // Wine's media session does not survive a playing pipeline being torn
    // down at once (it crashes in work items that still refer to the
    // topology), so the file is paused first and the renderers go before
    // the session.
    if (callback->streaming() && SUCCEEDED(player->Pause())) callback->waitUntilPaused(kPauseWait);
    if (videoRenderer) {
      videoRenderer->ShutdownObject();
      // The video renderer hands its frames back while it shuts down, and
      // the session handles each in a work item that expects its topology
      // to still exist: those run before the session is shut down.
      ::Sleep(kFrameReturnMilliseconds);
    }
    if (audioRenderer) audioRenderer->ShutdownObject();
    player->Shutdown();
    source->Shutdown();
  }
};

}  // namespace

std::unique_ptr<MediaSession> MediaSession::open(HWND window, const std::wstring& path, uint32_t id,
                                                 std::chrono::milliseconds timeout) {
  ComPtr<IMFMediaSource> source = resolveMediaSource(path, timeout);
  if (!source) return nullptr;
  auto callback = ComPtr<PlayerCallback>::adopt(new PlayerCallback(window, id));
  ComPtr<IMFPMediaPlayer> player;
  if (FAILED(::MFPCreateMediaPlayer(nullptr, FALSE, MFP_OPTION_FREE_THREADED_CALLBACK,
                                    callback.get(), window, player.put()))) {
    source->Shutdown();
    return nullptr;
  }
  // From here on the session owns player and source; its destructor shuts both down on every path.
  std::unique_ptr<MediaSession> session(new MediaSession(id, player, callback, source));
  IMFPMediaItem* item = nullptr;
  if (FAILED(player->CreateMediaItemFromObject(source.get(), TRUE, id, &item)) || !item) return nullptr;
  session->item_ = ComPtr<IMFPMediaItem>::adopt(item);
  // Our own renderers instead of MFPlay's, so that the engine can reach them.
  const SelectedStreams streams = selectedStreams(source.get());
  if (streams.video >= 0) {
    ComPtr<IMFActivate> renderer;
    ::MFCreateVideoRendererActivate(window, renderer.put());
    if (!(session->videoRenderer_ = attachRenderer(item, streams.video, renderer))) return nullptr;
  }
  if (streams.audio >= 0) {
    ComPtr<IMFActivate> renderer;
    ::MFCreateAudioRendererActivate(renderer.put());
    if (!(session->audioRenderer_ = attachRenderer(item, streams.audio, renderer))) return nullptr;
  }
  if (FAILED(player->SetMediaItem(item)) || FAILED(player->Play())) return nullptr;
  return session;
}

MediaSession::MediaSession(uint32_t id, ComPtr<IMFPMediaPlayer> player, ComPtr<PlayerCallback> callback,
                           ComPtr<IMFMediaSource> source)
    : id_(id), player_(std::move(player)), callback_(std::move(callback)), source_(std::move(source)) {}

MediaSession::~MediaSession() {
  callback_->detach();
  auto* teardown = new Teardown{player_, callback_, source_, videoRenderer_, audioRenderer_};
  UniqueHandle thread(::CreateThread(nullptr, 0, &Teardown::run, teardown, 0, nullptr));
  if (!thread) {
    Teardown::run(teardown);
    return;
  }
  waitDeliveringSentMessages(thread.get(), kTeardownLimit);
}

bool MediaSession::play() { return SUCCEEDED(player_->Play()); }

bool MediaSession::pause() { return SUCCEEDED(player_->Pause()); }

void MediaSession::releaseStalledStart() {
  if (!videoRenderer_) return;
  ComPtr<IMFMediaSink> sink;
  ComPtr<IMFStreamSink> stream;
  if (SUCCEEDED(videoRenderer_->ActivateObject(__uuidof(IMFMediaSink), sink.putVoid())) &&
      SUCCEEDED(sink->GetStreamSinkByIndex(0, stream.put())))
    stream->QueueEvent(MEStreamSinkPrerolled, GUID_NULL, S_OK, nullptr);
}

bool MediaSession::seek(int32_t milliseconds) {
  PROPVARIANT position;
  ::PropVariantInit(&position);
  position.vt = VT_I8;
  position.hVal.QuadPart = ticksFromMilliseconds(milliseconds);
  return SUCCEEDED(player_->SetPosition(MFP_POSITIONTYPE_100NS, &position));
}

int32_t MediaSession::positionMilliseconds() const {
  PropVariantValue position;
  if (FAILED(player_->GetPosition(MFP_POSITIONTYPE_100NS, &position.value))) return 0;
  return millisecondsFromTicks(position.ticks());
}

int32_t MediaSession::durationMilliseconds() const {
  PropVariantValue duration;
  if (FAILED(player_->GetDuration(MFP_POSITIONTYPE_100NS, &duration.value))) return 0;
  return millisecondsFromTicks(duration.ticks());
}

SIZE MediaSession::nativeVideoSize() const {
  SIZE video{};
  SIZE aspect{};
  if (!hasVideo() || FAILED(player_->GetNativeVideoSize(&video, &aspect))) return {};
  return video;
}

bool MediaSession::keepAspect(bool keep) {
  if (!hasVideo()) return true;
  const DWORD mode = keep ? MFVideoARMode_PreservePicture : MFVideoARMode_None;
  const bool accepted = SUCCEEDED(player_->SetAspectRatioMode(mode));
  player_->UpdateVideo();
  return accepted;
}

bool MediaSession::setAudioLevel(float level) {
  if (!audioRenderer_) return true;
  ComPtr<IMFMediaSink> sink;
  ComPtr<IMFAudioStreamVolume> volume;
  UINT32 channels = 0;
  if (FAILED(audioRenderer_->ActivateObject(__uuidof(IMFMediaSink), sink.putVoid())) ||
      FAILED(::MFGetService(sink.get(), MR_STREAM_VOLUME_SERVICE, __uuidof(IMFAudioStreamVolume),
                            volume.putVoid())) ||
      FAILED(volume->GetChannelCount(&channels)) || channels == 0)
    return false;
  const std::vector<float> levels(channels, level);
  return SUCCEEDED(volume->SetAllVolumes(channels, levels.data()));
}

void MediaSession::repaint() {
  if (hasVideo()) player_->UpdateVideo();
}

void MediaSession::fitToWindow() {
  if (!hasVideo()) return;
  const MFVideoNormalizedRect wholePicture{0.0f, 0.0f, 1.0f, 1.0f};
  // Also re-reads the window's client area as the destination (Wine has no UpdateVideo).
  player_->SetVideoSourceRect(&wholePicture);
  player_->UpdateVideo();
}

}  // namespace qova::aplayer
