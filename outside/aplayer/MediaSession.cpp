#include "outside/aplayer/MediaSession.h"

#include <mfapi.h>
#include <objbase.h>
#include <propidl.h>

#include <memory>
#include <vector>

#include "outside/aplayer/MediaSourceResolver.h"
#include "outside/aplayer/PlayerUnits.h"
#include "outside/aplayer/SentMessageWait.h"
#include "outside/aplayer/SessionEvents.h"
#include "outside/aplayer/WinePlatform.h"

namespace qova::aplayer {
namespace {

// A PROPVARIANT that clears itself.
struct PropVariantValue {
  PROPVARIANT value;
  PropVariantValue() { ::PropVariantInit(&value); }
  ~PropVariantValue() { ::PropVariantClear(&value); }
  PropVariantValue(const PropVariantValue&) = delete;
  PropVariantValue& operator=(const PropVariantValue&) = delete;
};

// Lets the topology loader try every type a source stream offers, not only
// its current one (Wine's loader finds no decoder for video otherwise).
// Missing from mingw-w64's headers.
constexpr GUID kTopologyEnumerateSourceTypes{
    0x6248c36d, 0x5d0b, 0x4f40, {0xa0, 0xbb, 0xb0, 0xb3, 0x05, 0xf7, 0x76, 0x98}};

// The major type of a stream; GUID_NULL when it cannot be told.
GUID majorTypeOf(IMFStreamDescriptor* stream) {
  ComPtr<IMFMediaTypeHandler> types;
  GUID major{};
  if (FAILED(stream->GetMediaTypeHandler(types.put())) || FAILED(types->GetMajorType(&major))) return GUID_NULL;
  return major;
}

// Connects `stream` of the source to `renderer` in the topology; false on failure.
bool addBranch(IMFTopology* topology, IMFMediaSource* source, IMFPresentationDescriptor* presentation,
               IMFStreamDescriptor* stream, IMFActivate* renderer) {
  ComPtr<IMFTopologyNode> sourceNode;
  ComPtr<IMFTopologyNode> outputNode;
  return SUCCEEDED(::MFCreateTopologyNode(MF_TOPOLOGY_SOURCESTREAM_NODE, sourceNode.put())) &&
         SUCCEEDED(sourceNode->SetUnknown(MF_TOPONODE_SOURCE, source)) &&
         SUCCEEDED(sourceNode->SetUnknown(MF_TOPONODE_PRESENTATION_DESCRIPTOR, presentation)) &&
         SUCCEEDED(sourceNode->SetUnknown(MF_TOPONODE_STREAM_DESCRIPTOR, stream)) &&
         SUCCEEDED(::MFCreateTopologyNode(MF_TOPOLOGY_OUTPUT_NODE, outputNode.put())) &&
         SUCCEEDED(outputNode->SetObject(renderer)) && SUCCEEDED(topology->AddNode(sourceNode.get())) &&
         SUCCEEDED(topology->AddNode(outputNode.get())) &&
         SUCCEEDED(sourceNode->ConnectOutput(0, outputNode.get(), 0));
}

// The mixer and the presenter inside a video renderer, to end their
// streaming by hand (see Teardown).
struct RendererInsides {
  ComPtr<IMFTransform> mixer;
  ComPtr<IMFVideoPresenter> presenter;

  // Those of a renderer that the session activated; null where there is none.
  static RendererInsides of(IMFActivate* renderer) {
    RendererInsides insides;
    ComPtr<IMFMediaSink> sink;
    ComPtr<IMFVideoDisplayControl> display;
    ComPtr<IMFVideoMixerControl> mixing;
    if (FAILED(renderer->ActivateObject(__uuidof(IMFMediaSink), sink.putVoid()))) return insides;
    if (SUCCEEDED(::MFGetService(sink.get(), MR_VIDEO_RENDER_SERVICE, __uuidof(IMFVideoDisplayControl),
                                 display.putVoid())))
      display->QueryInterface(__uuidof(IMFVideoPresenter), insides.presenter.putVoid());
    if (SUCCEEDED(::MFGetService(sink.get(), MR_VIDEO_MIXER_SERVICE, __uuidof(IMFVideoMixerControl),
                                 mixing.putVoid())))
      mixing->QueryInterface(__uuidof(IMFTransform), insides.mixer.putVoid());
    return insides;
  }

  // What the renderer does when the clock stops: the mixer lets go of the
  // frames it holds, and the presenter of its queue and streaming thread.
  void endStreaming() const {
    if (mixer) mixer->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0);
    if (presenter) presenter->ProcessMessage(MFVP_MESSAGE_FLUSH, 0);
    if (mixer) mixer->ProcessMessage(MFT_MESSAGE_NOTIFY_END_STREAMING, 0);
    if (presenter) presenter->ProcessMessage(MFVP_MESSAGE_ENDSTREAMING, 0);
  }
};

// Pausing takes a few milliseconds; a session that does not confirm it in
// this time is shut down all the same.
constexpr std::chrono::milliseconds kPauseWait{1000};
constexpr DWORD kFrameReturnMilliseconds = 100;
// A teardown normally takes a tenth of a second; one that hangs in the
// platform is abandoned after this, with its thread.
constexpr std::chrono::milliseconds kTeardownLimit{4000};

// Shutting one file's renderers, session and source down, on a thread of
// its own so that the engine's thread never hangs in the platform.
struct Teardown {
  ComPtr<IMFMediaSession> session;
  ComPtr<SessionEvents> events;
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
    // the session. It is never stopped: see endsEarly in the engine.
    if (events->streaming() && SUCCEEDED(session->Pause())) events->waitUntilPaused(kPauseWait);
    // Wine's video renderer ends its streaming only when the clock stops,
    // which this teardown never does; until then the frames its mixer and
    // presenter hold, and the presenter's streaming thread, keep the whole
    // renderer alive, with its Direct3D device and their threads, for good.
    // So its streaming is ended here by hand, once the renderer is shut down
    // and no new frame can reach it (and while no lock of the clock is held:
    // at the clock's stop this deadlocks).
    RendererInsides insides;
    if (videoRenderer && events->hasPlayed()) insides = RendererInsides::of(videoRenderer.get());
    if (videoRenderer) {
      videoRenderer->ShutdownObject();
      // The video renderer hands its frames back while it shuts down, and
      // the session handles each in a work item that expects its topology
      // to still exist: those run before the session is shut down.
      ::Sleep(kFrameReturnMilliseconds);
    }
    insides.endStreaming();
    if (audioRenderer) audioRenderer->ShutdownObject();
    session->Shutdown();
    source->Shutdown();
    events->forgetSession();
  }
};

}  // namespace

std::unique_ptr<MediaSession> MediaSession::open(HWND window, const std::wstring& path, uint32_t id,
                                                 std::chrono::milliseconds timeout) {
  ComPtr<IMFMediaSource> source = resolveMediaSource(path, timeout);
  if (!source) return nullptr;
  ComPtr<IMFMediaSession> session;
  if (FAILED(::MFCreateMediaSession(nullptr, session.put()))) {
    source->Shutdown();
    return nullptr;
  }
  auto events = ComPtr<SessionEvents>::adopt(new SessionEvents(window, id, session));
  // From here on the object owns session and source; its destructor shuts both down on every path.
  std::unique_ptr<MediaSession> file(new MediaSession(id, window, session, events, source));
  if (!events->listen() || !file->startPlaying()) return nullptr;
  return file;
}

bool MediaSession::startPlaying() {
  ComPtr<IMFPresentationDescriptor> presentation;
  ComPtr<IMFTopology> topology;
  DWORD count = 0;
  if (FAILED(source_->CreatePresentationDescriptor(presentation.put())) ||
      FAILED(presentation->GetStreamDescriptorCount(&count)) || FAILED(::MFCreateTopology(topology.put())))
    return false;
  UINT64 duration = 0;
  if (SUCCEEDED(presentation->GetUINT64(MF_PD_DURATION, &duration))) durationTicks_ = static_cast<int64_t>(duration);
  // The first stream of each kind plays; the others are left out.
  for (DWORD index = 0; index < count; ++index) {
    BOOL selected = FALSE;
    ComPtr<IMFStreamDescriptor> stream;
    if (FAILED(presentation->GetStreamDescriptorByIndex(index, &selected, stream.put())) || !selected) continue;
    const GUID major = majorTypeOf(stream.get());
    ComPtr<IMFActivate> renderer;
    if (major == MFMediaType_Video && !videoRenderer_) {
      if (FAILED(::MFCreateVideoRendererActivate(window_, renderer.put()))) return false;
      videoRenderer_ = renderer;
    } else if (major == MFMediaType_Audio && !audioRenderer_) {
      if (FAILED(::MFCreateAudioRendererActivate(renderer.put()))) return false;
      audioRenderer_ = renderer;
    } else {
      presentation->DeselectStream(index);
      continue;
    }
    if (!addBranch(topology.get(), source_.get(), presentation.get(), stream.get(), renderer.get())) return false;
  }
  if (!videoRenderer_ && !audioRenderer_) return false;
  topology->SetUINT32(kTopologyEnumerateSourceTypes, TRUE);
  PropVariantValue fromStart;
  return SUCCEEDED(session_->SetTopology(0, topology.get())) &&
         SUCCEEDED(session_->Start(&GUID_NULL, &fromStart.value));
}

MediaSession::MediaSession(uint32_t id, HWND window, ComPtr<IMFMediaSession> session,
                           ComPtr<SessionEvents> events, ComPtr<IMFMediaSource> source)
    : id_(id),
      window_(window),
      session_(std::move(session)),
      events_(std::move(events)),
      source_(std::move(source)) {}

MediaSession::~MediaSession() {
  events_->detach();
  auto* teardown = new Teardown{session_, events_, source_, videoRenderer_, audioRenderer_};
  UniqueHandle thread(::CreateThread(nullptr, 0, &Teardown::run, teardown, 0, nullptr));
  if (!thread) {
    Teardown::run(teardown);
    return;
  }
  waitDeliveringSentMessages(thread.get(), kTeardownLimit);
}

bool MediaSession::play() {
  PropVariantValue fromHere;
  return SUCCEEDED(session_->Start(&GUID_NULL, &fromHere.value));
}

bool MediaSession::pause() { return SUCCEEDED(session_->Pause()); }

void MediaSession::releaseStalledStart() {
  if (!videoRenderer_) return;
  ComPtr<IMFMediaSink> sink;
  ComPtr<IMFStreamSink> stream;
  if (SUCCEEDED(videoRenderer_->ActivateObject(__uuidof(IMFMediaSink), sink.putVoid())) &&
      SUCCEEDED(sink->GetStreamSinkByIndex(0, stream.put())))
    stream->QueueEvent(MEStreamSinkPrerolled, GUID_NULL, S_OK, nullptr);
}

bool MediaSession::seek(int32_t milliseconds) {
  // Wine's media session cannot move a running presentation: it would only
  // stall it.
  if (runningOnWine()) return false;
  PropVariantValue position;
  position.value.vt = VT_I8;
  position.value.hVal.QuadPart = ticksFromMilliseconds(milliseconds);
  events_->expectSeek();
  return SUCCEEDED(session_->Start(&GUID_NULL, &position.value));
}

int32_t MediaSession::positionMilliseconds() const {
  ComPtr<IMFClock> clock;
  ComPtr<IMFPresentationClock> presentationClock;
  MFTIME time = 0;
  if (FAILED(session_->GetClock(clock.put())) ||
      FAILED(clock->QueryInterface(__uuidof(IMFPresentationClock), presentationClock.putVoid())) ||
      FAILED(presentationClock->GetTime(&time)))
    return 0;
  return millisecondsFromTicks(time);
}

int32_t MediaSession::durationMilliseconds() const { return millisecondsFromTicks(durationTicks_); }

ComPtr<IMFVideoDisplayControl> MediaSession::display() const {
  ComPtr<IMFVideoDisplayControl> control;
  if (!videoRenderer_ || FAILED(::MFGetService(session_.get(), MR_VIDEO_RENDER_SERVICE,
                                               __uuidof(IMFVideoDisplayControl), control.putVoid())))
    return {};
  return control;
}

SIZE MediaSession::nativeVideoSize() const {
  SIZE video{};
  SIZE aspect{};
  ComPtr<IMFVideoDisplayControl> control = display();
  if (!control || FAILED(control->GetNativeVideoSize(&video, &aspect))) return {};
  return video;
}

bool MediaSession::keepAspect(bool keep) {
  if (!hasVideo()) return true;
  ComPtr<IMFVideoDisplayControl> control = display();
  const DWORD mode = keep ? MFVideoARMode_PreservePicture : MFVideoARMode_None;
  const bool accepted = control && SUCCEEDED(control->SetAspectRatioMode(mode));
  placePicture(nullptr);
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

void MediaSession::repaint() { placePicture(nullptr); }

void MediaSession::fitToWindow() {
  const MFVideoNormalizedRect wholePicture{0.0f, 0.0f, 1.0f, 1.0f};
  placePicture(&wholePicture);
}

void MediaSession::placePicture(const MFVideoNormalizedRect* source) {
  ComPtr<IMFVideoDisplayControl> control = display();
  RECT client{};
  if (!control || !::GetClientRect(window_, &client)) return;
  if (SUCCEEDED(control->SetVideoPosition(source, &client))) control->RepaintVideo();
}

}  // namespace qova::aplayer
