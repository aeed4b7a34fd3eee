#include "outside/screenshot/SourceReaderCapture.h"

#include <windows.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <optional>
#include <vector>

#include "outside/media/MediaFileCheck.h"
#include "outside/media/SourceReaderFormats.h"
#include "outside/screenshot/CaptureJob.h"
#include "runtime/UniqueHandle.h"

namespace qova::screenshot {
namespace {

constexpr DWORD kVideoStream = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
// Decoding forward from the key frame before a position stops after this many
// frames (ten seconds at 25 frames a second) and takes the last one.
constexpr int kMostFramesPerPosition = 250;
// A frame this close before the position is close enough.
constexpr int64_t kPositionTolerance = kTicksPerSecond / 10;

ComPtr<IMFSourceReader> openReader(const std::wstring& path) {
  ComPtr<IMFAttributes> attributes;
  if (FAILED(::MFCreateAttributes(attributes.put(), 1))) return {};
  // Lets Windows convert to RGB32 for us; Wine refuses the conversion and we take the decoder's own layout.
  attributes->SetUINT32(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING, TRUE);
  ComPtr<IMFSourceReader> reader;
  if (FAILED(::MFCreateSourceReaderFromURL(path.c_str(), attributes.get(), reader.put()))) return {};
  return reader;
}

bool selectOnlyTheVideo(IMFSourceReader* reader) {
  reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
  return SUCCEEDED(reader->SetStreamSelection(kVideoStream, TRUE));
}

bool hasSound(IMFSourceReader* reader) {
  ComPtr<IMFMediaType> type;
  return SUCCEEDED(reader->GetNativeMediaType(static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM), 0, type.put()));
}

enum class ReadOutcome { Frame, NoFrame, DecoderFailed };

// Reads forward to the first frame at or after `position`; at the end of the
// stream, the last frame before it.
ReadOutcome readFrameAt(IMFSourceReader* reader, int64_t position, media::VideoFrameFormat& format,
                        const CaptureProgress& progress, ComPtr<IMFSample>& frame) {
  for (int read = 0; read < kMostFramesPerPosition && !progress.abandoned(); ++read) {
    DWORD flags = 0;
    LONGLONG timestamp = 0;
    ComPtr<IMFSample> sample;
    if (FAILED(reader->ReadSample(kVideoStream, 0, nullptr, &flags, &timestamp, sample.put())) ||
        (flags & MF_SOURCE_READERF_ERROR))
      return ReadOutcome::DecoderFailed;
    if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
      std::optional<media::VideoFrameFormat> changed = media::currentVideoFormat(reader);
      if (!changed) return ReadOutcome::DecoderFailed;
      format = *changed;
    }
    if (sample) {
      frame = sample;
      if (timestamp + kPositionTolerance >= position) return ReadOutcome::Frame;
    }
    if (flags & MF_SOURCE_READERF_ENDOFSTREAM) break;
  }
  return frame ? ReadOutcome::Frame : ReadOutcome::NoFrame;
}

}  // namespace

void captureFrames(const std::wstring& path, CaptureProgress& progress) {
  // An MP4 cut off before its index can make the platform's demuxer wait for
  // ever; its thread would then be abandoned, still inside the platform.
  if (!media::mayBePlayable(path)) return;
  const ComPtr<IMFSourceReader> reader = openReader(path);
  if (!reader) return;
  if (!selectOnlyTheVideo(reader.get())) {
    if (hasSound(reader.get())) progress.markSoundOnly();
    return;
  }
  // RGB32 first: Windows converts any decoder's frames to it; Wine takes another layout.
  std::optional<media::VideoFrameFormat> format = media::chooseVideoFormat(reader.get(), MFVideoFormat_RGB32);
  if (!format) return;

  bool atStart = true;
  for (int64_t position : framePositions(media::readerDuration(reader.get()))) {
    if (progress.abandoned()) return;
    // A source that cannot seek goes on from where it is; later frames are candidates too.
    if (!atStart || position > 0) media::seekReader(reader.get(), position);
    atStart = false;
    ComPtr<IMFSample> frame;
    const ReadOutcome outcome = readFrameAt(reader.get(), position, *format, progress, frame);
    if (outcome == ReadOutcome::DecoderFailed && !frame) return;
    if (frame && progress.offer(pictureOfSample(frame.get(), *format), format->pixelAspectNumerator,
                                format->pixelAspectDenominator))
      return;
    if (outcome == ReadOutcome::DecoderFailed) return;
  }
}

}  // namespace qova::screenshot
