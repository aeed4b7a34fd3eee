#include "outside/aplayer/LocalDecodedFile.h"

#include <mfapi.h>

#include <utility>

#include "outside/aplayer/DiagnosticLines.h"
#include "outside/media/PictureSize.h"

namespace qova::aplayer {

LocalMedia::~LocalMedia() {
  if (started_) ::MFShutdown();
}

void LocalMedia::start() { started_ = SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_FULL)); }

std::unique_ptr<DecodedFile> LocalDecodedFile::open(const std::wstring& path, std::chrono::milliseconds timeout,
                                                    HANDLE interrupt, LUID adapter, Resolution& outcome,
                                                    std::string& why) {
  outcome = Resolution::Refused;
  const std::optional<FileIdentity> identity = identifyFile(path);
  if (!identity) return nullptr;
  MediaReader::Opening opening = MediaReader::open(path, timeout, interrupt, adapter);
  outcome = opening.outcome;
  if (FAILED(opening.error)) why = describeError(opening.error);
  if (!opening.reader) return nullptr;
  if (opening.reader->hasVideo()) {
    const auto& picture = opening.reader->videoFormat().picture;
    if (!media::pictureFits(picture.width, picture.height)) {
      outcome = Resolution::Refused;
      why = media::pictureTooLarge(picture.width, picture.height);
      return nullptr;
    }
  }
  return std::unique_ptr<DecodedFile>(new LocalDecodedFile(path, *identity, std::move(opening.reader)));
}

DecodedFile::Read LocalDecodedFile::readVideo(int64_t notBefore, VideoPicture& picture, int64_t& time) {
  // No room means no memory for the frame: nothing more can be shown.
  return playbackRead(reader_->readVideo(
      notBefore, [&picture](const media::PictureFormat& format) { return picture.prepare(format).data(); },
      time));
}

DecodedFile::Read LocalDecodedFile::readAudio(int64_t notBefore, std::vector<uint8_t>& pcm, int64_t& time) {
  return playbackRead(reader_->readAudio(notBefore, pcm, time));
}

}  // namespace qova::aplayer
