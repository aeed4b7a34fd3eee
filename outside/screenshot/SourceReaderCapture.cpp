#include "outside/screenshot/SourceReaderCapture.h"

#include <windows.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <optional>
#include <vector>

#include "outside/screenshot/CaptureJob.h"
#include "outside/screenshot/VideoFrameFormat.h"
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

std::optional<VideoFrameFormat> currentFormat(IMFSourceReader* reader) {
  ComPtr<IMFMediaType> type;
  if (FAILED(reader->GetCurrentMediaType(kVideoStream, type.put()))) return std::nullopt;
  return describeVideoType(type.get());
}

// Subtypes to ask the reader for, best first: RGB32 (Windows converts), the
// decoder's own output when we can read it, then every layout we can read.
std::vector<GUID> outputSubtypes(IMFSourceReader* reader) {
  std::vector<GUID> subtypes{MFVideoFormat_RGB32};
  ComPtr<IMFMediaType> native;
  GUID nativeSubtype{};
  if (SUCCEEDED(reader->GetNativeMediaType(kVideoStream, 0, native.put())) &&
      SUCCEEDED(native->GetGUID(MF_MT_SUBTYPE, &nativeSubtype)) && layoutOfSubtype(nativeSubtype))
    subtypes.push_back(nativeSubtype);
  for (const GUID& subtype : {MFVideoFormat_NV12, MFVideoFormat_I420, MFVideoFormat_IYUV, MFVideoFormat_YV12,
                              MFVideoFormat_YUY2, MFVideoFormat_UYVY, MFVideoFormat_ARGB32})
    subtypes.push_back(subtype);
  return subtypes;
}

std::optional<VideoFrameFormat> chooseOutputFormat(IMFSourceReader* reader) {
  for (const GUID& subtype : outputSubtypes(reader)) {
    ComPtr<IMFMediaType> wanted;
    if (FAILED(::MFCreateMediaType(wanted.put()))) return std::nullopt;
    wanted->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    wanted->SetGUID(MF_MT_SUBTYPE, subtype);
    if (FAILED(reader->SetCurrentMediaType(kVideoStream, nullptr, wanted.get()))) continue;
    if (std::optional<VideoFrameFormat> format = currentFormat(reader)) return format;
  }
  return std::nullopt;
}

// The duration in 100-ns units; 0 when the source does not know it.
int64_t durationOf(IMFSourceReader* reader) {
  PROPVARIANT value;
  ::PropVariantInit(&value);
  int64_t duration = 0;
  if (SUCCEEDED(reader->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION,
                                                 &value)) &&
      value.vt == VT_UI8)
    duration = static_cast<int64_t>(value.uhVal.QuadPart);
  ::PropVariantClear(&value);
  return duration;
}

void seek(IMFSourceReader* reader, int64_t position) {
  PROPVARIANT value;
  ::PropVariantInit(&value);
  value.vt = VT_I8;
  value.hVal.QuadPart = position;
  // A source that cannot seek goes on from where it is; later frames are candidates too.
  reader->SetCurrentPosition(GUID_NULL, value);
}

enum class ReadOutcome { Frame, NoFrame, DecoderFailed };

// Reads forward to the first frame at or after `position`; at the end of the
// stream, the last frame before it.
ReadOutcome readFrameAt(IMFSourceReader* reader, int64_t position, VideoFrameFormat& format,
                        const CaptureProgress& progress, ComPtr<IMFSample>& frame) {
  for (int read = 0; read < kMostFramesPerPosition && !progress.abandoned(); ++read) {
    DWORD flags = 0;
    LONGLONG timestamp = 0;
    ComPtr<IMFSample> sample;
    if (FAILED(reader->ReadSample(kVideoStream, 0, nullptr, &flags, &timestamp, sample.put())) ||
        (flags & MF_SOURCE_READERF_ERROR))
      return ReadOutcome::DecoderFailed;
    if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
      std::optional<VideoFrameFormat> changed = currentFormat(reader);
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
  const ComPtr<IMFSourceReader> reader = openReader(path);
  if (!reader) return;
  if (!selectOnlyTheVideo(reader.get())) {
    if (hasSound(reader.get())) progress.markSoundOnly();
    return;
  }
  std::optional<VideoFrameFormat> format = chooseOutputFormat(reader.get());
  if (!format) return;

  bool atStart = true;
  for (int64_t position : framePositions(durationOf(reader.get()))) {
    if (progress.abandoned()) return;
    if (!atStart || position > 0) seek(reader.get(), position);
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
