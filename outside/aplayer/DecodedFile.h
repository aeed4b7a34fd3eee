#pragma once
// One open media file as the playback thread sees it: its streams, decoded
// in order, video frames straight into the picture's back buffer and sound
// as 16-bit PCM. Decoded in this process or in a decoding process of the
// engine's (DecoderConnection.h); the playback is the same for both.
#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "outside/aplayer/VideoPicture.h"
#include "outside/decoder/MediaReader.h"

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

class DecodedFile {
 public:
  virtual ~DecodedFile() = default;
  DecodedFile(const DecodedFile&) = delete;
  DecodedFile& operator=(const DecodedFile&) = delete;

  const std::wstring& path() const { return path_; }
  // True when `path` names this very file, unchanged since it was opened.
  bool isSameFile(const std::wstring& path) const;

  virtual bool hasVideo() const = 0;
  virtual bool hasAudio() const = 0;
  // 16-bit PCM; only while hasAudio().
  virtual const WAVEFORMATEX& audioFormat() const = 0;
  // The picture's size on screen (pixel aspect applied); 0 x 0 without video.
  virtual SIZE shownVideoSize() const = 0;
  // In 100 ns units; 0 when the file does not say.
  virtual int64_t duration() const = 0;
  // Plays the file silent from now on (no sound device).
  virtual void dropAudio() = 0;

  enum class Read { Sample, EndOfStream, Failed };
  // The next frame timed at `notBefore` or later (100 ns units; earlier ones
  // are passed over unconverted), written into
  // `picture`'s back buffer; `time` is its time.
  virtual Read readVideo(int64_t notBefore, VideoPicture& picture, int64_t& time) = 0;
  // The next sound timed at `notBefore` or later, as 16-bit PCM in `pcm`.
  virtual Read readAudio(int64_t notBefore, std::vector<uint8_t>& pcm, int64_t& time) = 0;
  // Moves both streams to `time` (100 ns units); false when the file cannot seek.
  virtual bool seek(int64_t time) = 0;
  // The last frame read was decoded by the graphics card.
  virtual bool decodedByCard() const = 0;

 protected:
  DecodedFile(std::wstring path, FileIdentity identity) : path_(std::move(path)), identity_(identity) {}

 private:
  std::wstring path_;
  FileIdentity identity_;
};

// What a read of the Source Reader means to the playback: no room for a frame is a failure there.
DecodedFile::Read playbackRead(MediaReader::Read read);

}  // namespace qova::aplayer
