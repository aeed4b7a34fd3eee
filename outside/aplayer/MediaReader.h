#pragma once
// One file, read and decoded through Media Foundation's Source Reader: video
// frames as the decoder hands them out (shown through VideoPicture), sound as
// 16-bit PCM. Everything runs on the playback thread that opened it.
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "outside/aplayer/MediaSourceResolver.h"
#include "outside/screenshot/VideoFrameFormat.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

// What tells one version of a file from another: a file replaced under the
// same name is a new file.
struct FileIdentity {
  uint64_t size = 0;
  uint64_t lastWrite = 0;
  bool operator==(const FileIdentity&) const = default;
};

// Nullopt when the file cannot be read.
std::optional<FileIdentity> identifyFile(const std::wstring& path);

class MediaReader {
 public:
  struct Opening {
    std::unique_ptr<MediaReader> reader;  // null unless the file opened
    Resolution outcome = Resolution::Refused;
  };
  // Opens `path` (see resolveMediaSource for `timeout` and `interrupt`). A
  // file with neither a video nor a sound stream we can decode is Refused.
  static Opening open(const std::wstring& path, std::chrono::milliseconds timeout, HANDLE interrupt);
  ~MediaReader();
  MediaReader(const MediaReader&) = delete;
  MediaReader& operator=(const MediaReader&) = delete;

  const std::wstring& path() const { return path_; }
  // True when `path` names this very file, unchanged since it was opened.
  bool isSameFile(const std::wstring& path) const;

  bool hasVideo() const { return video_.has_value(); }
  bool hasAudio() const { return audio_.has_value(); }
  const screenshot::VideoFrameFormat& videoFormat() const { return *video_; }
  const WAVEFORMATEX& audioFormat() const { return *audio_; }
  // The picture's size on screen (pixel aspect applied); 0 x 0 without video.
  SIZE shownVideoSize() const;
  // In 100 ns units; 0 when the file does not say.
  int64_t duration() const { return duration_; }

  // Plays the file silent from now on (no sound device).
  void dropAudio();

  enum class Read { Sample, EndOfStream, Failed };
  // The next sample of the stream and its time (100 ns units).
  Read readVideo(ComPtr<IMFSample>& sample, int64_t& time);
  Read readAudio(ComPtr<IMFSample>& sample, int64_t& time);
  // Moves both streams to `time` (100 ns units); false when the file cannot seek.
  bool seek(int64_t time);

 private:
  MediaReader(std::wstring path, FileIdentity identity, ComPtr<IMFMediaSource> source,
              ComPtr<IMFSourceReader> reader);
  bool chooseVideoType();
  bool chooseAudioType();
  Read read(DWORD stream, ComPtr<IMFSample>& sample, int64_t& time);

  std::wstring path_;
  FileIdentity identity_;
  ComPtr<IMFMediaSource> source_;
  ComPtr<IMFSourceReader> reader_;
  std::optional<screenshot::VideoFrameFormat> video_;
  std::optional<WAVEFORMATEX> audio_;
  int64_t duration_ = 0;
};

}  // namespace qova::aplayer
