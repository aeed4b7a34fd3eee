#pragma once
// A file decoded on the playback thread itself, for when the engine's
// decoding process cannot be started.
#include <chrono>
#include <memory>

#include "outside/aplayer/DecodedFile.h"
#include "outside/decoder/MediaReader.h"

namespace qova::aplayer {

// Media Foundation started for decoding on this thread, until this goes.
class LocalMedia {
 public:
  LocalMedia() = default;
  ~LocalMedia();
  LocalMedia(const LocalMedia&) = delete;
  LocalMedia& operator=(const LocalMedia&) = delete;
  bool started() const { return started_; }
  void start();

 private:
  bool started_ = false;
};

class LocalDecodedFile final : public DecodedFile {
 public:
  // Null when the file cannot be played; `outcome` says why (see
  // resolveMediaSource), and `why`, for a person, when more is known.
  static std::unique_ptr<DecodedFile> open(const std::wstring& path, std::chrono::milliseconds timeout,
                                           HANDLE interrupt, LUID adapter, Resolution& outcome, std::string& why);

  bool hasVideo() const override { return reader_->hasVideo(); }
  bool hasAudio() const override { return reader_->hasAudio(); }
  const WAVEFORMATEX& audioFormat() const override { return reader_->audioFormat(); }
  SIZE shownVideoSize() const override { return reader_->shownVideoSize(); }
  int64_t duration() const override { return reader_->duration(); }
  void dropAudio() override { reader_->dropAudio(); }
  Read readVideo(int64_t notBefore, VideoPicture& picture, int64_t& time) override;
  Read readAudio(int64_t notBefore, std::vector<uint8_t>& pcm, int64_t& time) override;
  bool seek(int64_t time) override { return reader_->seek(time); }
  bool decodedByCard() const override { return reader_->decodedByCard(); }

 private:
  LocalDecodedFile(std::wstring path, FileIdentity identity, std::unique_ptr<MediaReader> reader)
      : DecodedFile(std::move(path), identity), reader_(std::move(reader)) {}

  std::unique_ptr<MediaReader> reader_;
};

}  // namespace qova::aplayer
