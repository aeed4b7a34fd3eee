#pragma once
// One file, read and decoded through Media Foundation's Source Reader: video
// frames as their YUV planes (media::PictureFormat), sound as 16-bit PCM. Everything runs on the
// thread that opened it (the playback thread, or a decoding process's).
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "outside/decoder/MediaSourceResolver.h"
#include "outside/media/VideoFrameFormat.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class MediaReader {
 public:
  struct Opening {
    std::unique_ptr<MediaReader> reader;  // null unless the file opened
    Resolution outcome = Resolution::Refused;
    HRESULT error = S_OK;  // why the platform refused it, when it says
  };
  // Opens `path` (see resolveMediaSource for `timeout` and `interrupt`). A
  // file with neither a video nor a sound stream we can decode is Refused.
  // A hardware decoder gets its device on `adapter` (a LUID; zero for the default).
  static Opening open(const std::wstring& path, std::chrono::milliseconds timeout, HANDLE interrupt, LUID adapter);
  ~MediaReader();
  MediaReader(const MediaReader&) = delete;
  MediaReader& operator=(const MediaReader&) = delete;

  bool hasVideo() const { return video_.has_value(); }
  bool hasAudio() const { return audio_.has_value(); }
  const media::VideoFrameFormat& videoFormat() const { return *video_; }
  const WAVEFORMATEX& audioFormat() const { return *audio_; }
  // The picture's size on screen (pixel aspect applied); 0 x 0 without video.
  SIZE shownVideoSize() const;
  // In 100 ns units; 0 when the file does not say.
  int64_t duration() const { return duration_; }

  // Plays the file silent from now on (no sound device).
  void dropAudio();

  enum class Read { Sample, EndOfStream, Failed, NoRoom };
  // Where a picture of the format goes (at least pictureBytes of it); null when there is no room for it.
  using FrameRoom = std::function<uint8_t*(const media::PictureFormat& picture)>;
  // The next frame timed at `notBefore` or later (100 ns units), converted
  // into the room `room` gives, and its time. Earlier frames and frames that
  // do not convert are passed over. NoRoom when `room` gives none: the frame
  // is kept for the next call.
  Read readVideo(int64_t notBefore, const FrameRoom& room, int64_t& time);
  // The next sound timed at `notBefore` or later, as 16-bit PCM, and its time.
  Read readAudio(int64_t notBefore, std::vector<uint8_t>& pcm, int64_t& time);
  // Moves both streams to `time` (100 ns units); false when the file cannot seek.
  bool seek(int64_t time);
  // The last frame read came from a hardware decoder (and was read back from the card).
  bool decodedByCard() const { return decodedByCard_; }

 private:
  MediaReader(ComPtr<IMFMediaSource> source, ComPtr<IMFSourceReader> reader);
  bool chooseVideoType();
  bool chooseAudioType();
  Read read(DWORD stream, ComPtr<IMFSample>& sample, int64_t& time);
  const media::StreamColour* colourStated() const { return streamColour_ ? &*streamColour_ : nullptr; }

  ComPtr<IMFMediaSource> source_;
  ComPtr<IMFSourceReader> reader_;
  std::optional<media::VideoFrameFormat> video_;
  // What the file states of its colour, for a decoder that does not say.
  std::optional<media::StreamColour> streamColour_;
  std::optional<WAVEFORMATEX> audio_;
  int64_t duration_ = 0;
  // A frame read while its room was missing, and its time.
  ComPtr<IMFSample> keptFrame_;
  int64_t keptTime_ = 0;
  bool decodedByCard_ = false;
};

}  // namespace qova::aplayer
