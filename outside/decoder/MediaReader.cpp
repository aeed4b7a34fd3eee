#include "outside/decoder/MediaReader.h"

#include <mfapi.h>

#include <utility>

#include "outside/decoder/HardwareDecoding.h"
#include "outside/media/PictureSize.h"
#include "outside/media/SourceReaderFormats.h"

namespace qova::aplayer {
namespace {

constexpr DWORD kVideoStream = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
constexpr DWORD kAudioStream = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);

bool askForType(IMFSourceReader* reader, DWORD stream, const GUID& major, const GUID& subtype,
                UINT32 bitsPerSample = 0) {
  ComPtr<IMFMediaType> type;
  if (FAILED(::MFCreateMediaType(type.put()))) return false;
  type->SetGUID(MF_MT_MAJOR_TYPE, major);
  type->SetGUID(MF_MT_SUBTYPE, subtype);
  if (bitsPerSample) type->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, bitsPerSample);
  return SUCCEEDED(reader->SetCurrentMediaType(stream, nullptr, type.get()));
}

ComPtr<IMFMediaType> currentType(IMFSourceReader* reader, DWORD stream) {
  ComPtr<IMFMediaType> type;
  if (FAILED(reader->GetCurrentMediaType(stream, type.put()))) return {};
  return type;
}

bool streamExists(IMFSourceReader* reader, DWORD stream) {
  ComPtr<IMFMediaType> type;
  return SUCCEEDED(reader->GetNativeMediaType(stream, 0, type.put()));
}

}  // namespace

MediaReader::Opening MediaReader::open(const std::wstring& path, std::chrono::milliseconds timeout,
                                       HANDLE interrupt, LUID adapter) {
  ResolvedSource resolved = resolveMediaSource(path, timeout, interrupt);
  if (!resolved.source) return {nullptr, resolved.outcome, resolved.error};
  ComPtr<IMFSourceReader> sourceReader;
  HRESULT error = E_FAIL;
  // A hardware decoder where the system has one for the codec; software decoding where not, or where it fails.
  const ComPtr<IUnknown> hardware = hardwareDecodingFor(resolved.source.get(), adapter);
  for (const bool useHardware : {true, false}) {
    if (useHardware && !hardware) continue;
    ComPtr<IMFAttributes> attributes;
    if (SUCCEEDED(::MFCreateAttributes(attributes.put(), 3))) {
      attributes->SetUINT32(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING, TRUE);
      if (useHardware) {
        attributes->SetUnknown(MF_SOURCE_READER_D3D_MANAGER, hardware.get());
        attributes->SetUINT32(MF_READWRITE_ENABLE_HARDWARE_TRANSFORMS, TRUE);
      }
    }
    error = ::MFCreateSourceReaderFromMediaSource(resolved.source.get(), attributes.get(), sourceReader.put());
    if (SUCCEEDED(error)) break;
  }
  if (!sourceReader) {
    resolved.source->Shutdown();
    return {nullptr, Resolution::Refused, error};
  }
  std::unique_ptr<MediaReader> reader(new MediaReader(std::move(resolved.source), std::move(sourceReader)));
  reader->streamColour_ = media::fileStreamColour(path);
  const bool video = reader->chooseVideoType();
  const bool audio = reader->chooseAudioType();
  if (!video && !audio) return {};
  reader->duration_ = media::readerDuration(reader->reader_.get());
  return {std::move(reader), Resolution::Made};
}

MediaReader::MediaReader(ComPtr<IMFMediaSource> source, ComPtr<IMFSourceReader> reader)
    : source_(std::move(source)), reader_(std::move(reader)) {}

MediaReader::~MediaReader() {
  keptFrame_ = {};
  reader_ = {};
  // The reader does not shut down a source it was given; left running, its
  // threads and buffers would stay for the life of the process.
  source_->Shutdown();
}

bool MediaReader::chooseVideoType() {
  IMFSourceReader* reader = reader_.get();
  reader->SetStreamSelection(kVideoStream, FALSE);
  if (!streamExists(reader, kVideoStream)) return false;
  // NV12 first: what H.264 and HEVC decoders hand out everywhere, and the cheapest to show.
  video_ = media::chooseVideoFormat(reader, MFVideoFormat_NV12, colourStated());
  if (video_) reader->SetStreamSelection(kVideoStream, TRUE);
  return video_.has_value();
}

bool MediaReader::chooseAudioType() {
  IMFSourceReader* reader = reader_.get();
  reader->SetStreamSelection(kAudioStream, FALSE);
  if (!streamExists(reader, kAudioStream) ||
      !askForType(reader, kAudioStream, MFMediaType_Audio, MFAudioFormat_PCM, 16))
    return false;
  ComPtr<IMFMediaType> type = currentType(reader, kAudioStream);
  WAVEFORMATEX* format = nullptr;
  UINT32 size = 0;
  if (!type || FAILED(::MFCreateWaveFormatExFromMFMediaType(type.get(), &format, &size)) || !format) return false;
  WAVEFORMATEX plain = *format;
  ::CoTaskMemFree(format);
  // An extensible header for mono or stereo PCM says nothing a plain one does not.
  if (plain.wFormatTag == WAVE_FORMAT_EXTENSIBLE && plain.nChannels <= 2) plain.wFormatTag = WAVE_FORMAT_PCM;
  plain.cbSize = 0;
  if (plain.wFormatTag != WAVE_FORMAT_PCM || plain.wBitsPerSample != 16) return false;
  audio_ = plain;
  reader->SetStreamSelection(kAudioStream, TRUE);
  return true;
}

SIZE MediaReader::shownVideoSize() const { return video_ ? shownPictureSize(*video_) : SIZE{}; }

void MediaReader::dropAudio() {
  if (!audio_) return;
  reader_->SetStreamSelection(kAudioStream, FALSE);
  audio_.reset();
}

MediaReader::Read MediaReader::readVideo(int64_t notBefore, const FrameRoom& room, int64_t& time) {
  if (!video_) return Read::EndOfStream;
  for (;;) {
    ComPtr<IMFSample> sample = std::exchange(keptFrame_, {});
    if (sample) {
      time = keptTime_;
    } else {
      const Read result = read(kVideoStream, sample, time);
      if (result != Read::Sample) return result;
      // Behind time, or before where a seek wants to be: passed over unconverted.
      if (time < notBefore) continue;
    }
    const media::PictureFormat picture = media::pictureFormatOf(*video_);
    if (!media::pictureFits(picture.width, picture.height)) return Read::Failed;
    uint8_t* pixels = room(picture);
    if (!pixels) {
      keptFrame_ = std::move(sample);
      keptTime_ = time;
      return Read::NoRoom;
    }
    if (media::copySampleAsPlanes(sample.get(), *video_, pixels, media::pictureBytes(picture))) {
      decodedByCard_ = media::sampleOnCard(sample.get());
      return Read::Sample;
    }
  }
}

MediaReader::Read MediaReader::readAudio(int64_t notBefore, std::vector<uint8_t>& pcm, int64_t& time) {
  if (!audio_) return Read::EndOfStream;
  for (;;) {
    ComPtr<IMFSample> sample;
    const Read result = read(kAudioStream, sample, time);
    if (result != Read::Sample) return result;
    if (time < notBefore) continue;
    ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(sample->ConvertToContiguousBuffer(buffer.put()))) continue;
    const media::LockedBuffer bytes(buffer.get());
    if (!bytes.data()) continue;
    pcm.assign(bytes.data(), bytes.data() + bytes.length());
    return Read::Sample;
  }
}

MediaReader::Read MediaReader::read(DWORD stream, ComPtr<IMFSample>& sample, int64_t& time) {
  // Gaps in a stream come as samples-less ticks; a stream made of nothing
  // but ticks is taken as ended rather than read for ever.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    DWORD actualStream = 0, flags = 0;
    LONGLONG timestamp = 0;
    sample = {};
    if (FAILED(reader_->ReadSample(stream, 0, &actualStream, &flags, &timestamp, sample.put())) ||
        (flags & MF_SOURCE_READERF_ERROR))
      return Read::Failed;
    if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED && stream == kVideoStream) {
      auto changed = media::currentVideoFormat(reader_.get(), colourStated());
      if (!changed) return Read::Failed;
      video_ = changed;
    }
    if (sample) {
      time = timestamp;
      return Read::Sample;
    }
    if (flags & MF_SOURCE_READERF_ENDOFSTREAM) return Read::EndOfStream;
  }
  return Read::EndOfStream;
}

bool MediaReader::seek(int64_t time) {
  keptFrame_ = {};
  return media::seekReader(reader_.get(), time);
}

}  // namespace qova::aplayer
