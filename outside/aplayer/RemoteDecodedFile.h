#pragma once
// A file decoded in the engine's decoding process: each read is one request
// there, and each frame is written by that process straight into the
// picture's back buffer, which both processes map.
#include <chrono>
#include <memory>

#include "outside/aplayer/DecoderConnection.h"
#include "outside/aplayer/DecodedFile.h"
#include "outside/decoder/MediaSourceResolver.h"
#include "outside/media/VideoFrameFormat.h"

namespace qova::aplayer {

class RemoteDecodedFile final : public DecodedFile {
 public:
  // Opens `path` in `decoder` (started if need be); null when the file
  // cannot be played there, `outcome` says why (and `why`, for a person,
  // when more is known). `interrupt` cuts the wait short, and ends the
  // process, which is then busy with the file.
  static std::unique_ptr<DecodedFile> open(DecoderConnection& decoder, const std::wstring& path,
                                           std::chrono::milliseconds timeout, HANDLE interrupt, LUID adapter,
                                           Resolution& outcome, std::string& why);
  ~RemoteDecodedFile() override;

  bool hasVideo() const override { return video_.has_value(); }
  bool hasAudio() const override { return audio_.has_value(); }
  const WAVEFORMATEX& audioFormat() const override { return *audio_; }
  SIZE shownVideoSize() const override;
  int64_t duration() const override { return duration_; }
  void dropAudio() override;
  Read readVideo(int64_t notBefore, VideoPicture& picture, int64_t& time) override;
  Read readAudio(int64_t notBefore, std::vector<uint8_t>& pcm, int64_t& time) override;
  bool seek(int64_t time) override;
  bool decodedByCard() const override { return decodedByCard_; }

 private:
  RemoteDecodedFile(DecoderConnection& decoder, std::wstring path, FileIdentity identity);
  // The reply to `request`, or nullopt when the process is gone or another one runs.
  std::optional<Message> call(const Message& request);

  DecoderConnection& decoder_;
  const uint64_t generation_;  // of the process the file is open in
  std::optional<media::VideoFrameFormat> video_;
  std::optional<WAVEFORMATEX> audio_;
  int64_t duration_ = 0;
  bool decodedByCard_ = false;
};

}  // namespace qova::aplayer
