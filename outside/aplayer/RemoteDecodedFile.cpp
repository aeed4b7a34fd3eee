#include "outside/aplayer/RemoteDecodedFile.h"

#include "outside/aplayer/DiagnosticLines.h"
#include "outside/decoder/MediaReader.h"
#include "outside/media/PictureSize.h"

namespace qova::aplayer {
namespace {

// Beyond the file's own time-out: the process's answer on its way back. The
// whole wait stays short of the time after which the engine takes its
// playback thread for stuck.
constexpr DWORD kOpenGraceMilliseconds = 2000;
// A read, seek or close takes milliseconds (a close under Wine, which ends
// the platform's pipeline, up to a few hundred); a process this long about
// one is stuck in a decoder.
constexpr DWORD kCallLimitMilliseconds = 5000;

Resolution whyNotOpened(MessagePipe::Outcome outcome) {
  switch (outcome) {
    case MessagePipe::Outcome::Interrupted:
      return Resolution::Interrupted;
    case MessagePipe::Outcome::TimedOut:
      return Resolution::TimedOut;
    case MessagePipe::Outcome::Done:
    case MessagePipe::Outcome::Broken:
    case MessagePipe::Outcome::Garbled:
      break;
  }
  // The process went away with the file: the platform crashed on it.
  return Resolution::Refused;
}

}  // namespace

std::unique_ptr<DecodedFile> RemoteDecodedFile::open(DecoderConnection& decoder, const std::wstring& path,
                                                     std::chrono::milliseconds timeout, HANDLE interrupt,
                                                     LUID adapter, Resolution& outcome, std::string& why) {
  outcome = Resolution::Refused;
  const std::optional<FileIdentity> identity = identifyFile(path);
  if (!identity || !decoder.running()) return nullptr;
  const OpenRequest request{static_cast<int32_t>(timeout.count()), adapter.LowPart, adapter.HighPart};
  MessagePipe::Outcome sent = MessagePipe::Outcome::Broken;
  const std::optional<Message> reply =
      decoder.call(makeMessage(DecoderOp::Open, request, path.data(), path.size() * sizeof(wchar_t)),
                   static_cast<DWORD>(timeout.count()) + kOpenGraceMilliseconds, interrupt, &sent);
  OpenReply opened;
  if (!reply) {
    outcome = whyNotOpened(sent);
    if (outcome == Resolution::Refused) why = "the decoding process failed on it";
    return nullptr;
  }
  if (!reply->take(opened)) return nullptr;
  outcome = static_cast<Resolution>(opened.outcome);
  if (opened.error != 0) why = describeError(opened.error);
  if (outcome != Resolution::Made || (!opened.hasVideo && !opened.hasAudio)) return nullptr;
  if (opened.hasVideo && !media::pictureFits(opened.video.picture.width, opened.video.picture.height)) {
    outcome = Resolution::Refused;
    why = media::pictureTooLarge(opened.video.picture.width, opened.video.picture.height);
    // The process holds the file open: it is let go at the next open or close.
    return nullptr;
  }
  std::unique_ptr<RemoteDecodedFile> file(new RemoteDecodedFile(decoder, path, *identity));
  if (opened.hasVideo) file->video_ = opened.video;
  if (opened.hasAudio) file->audio_ = opened.audio;
  file->duration_ = opened.duration;
  return file;
}

RemoteDecodedFile::RemoteDecodedFile(DecoderConnection& decoder, std::wstring path, FileIdentity identity)
    : DecodedFile(std::move(path), identity), decoder_(decoder), generation_(decoder.generation()) {}

RemoteDecodedFile::~RemoteDecodedFile() {
  if (decoder_.running() && decoder_.generation() == generation_)
    decoder_.call(Message{DecoderOp::Close, {}}, kCallLimitMilliseconds, nullptr);
}

std::optional<Message> RemoteDecodedFile::call(const Message& request) {
  if (!decoder_.running() || decoder_.generation() != generation_) return std::nullopt;
  return decoder_.call(request, kCallLimitMilliseconds, nullptr);
}

SIZE RemoteDecodedFile::shownVideoSize() const { return video_ ? media::shownPictureSize(*video_) : SIZE{}; }

void RemoteDecodedFile::dropAudio() {
  if (!audio_) return;
  audio_.reset();
  call(Message{DecoderOp::DropAudio, {}});
}

DecodedFile::Read RemoteDecodedFile::readVideo(int64_t notBefore, VideoPicture& picture, int64_t& time) {
  if (!video_) return Read::EndOfStream;
  // A frame of a new size or planes is answered NoRoom once, with its format: the buffer is then made ready for it.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const media::PictureFormat format = media::pictureFormatOf(*video_);
    const SharedPixels& room = picture.prepare(format);
    const ReadVideoRequest request{notBefore, decoder_.sectionFor(room), room.size(), format.width, format.height,
                                   format.planes};
    if (!request.section) return Read::Failed;
    const auto [front, back] = picture.serials();
    const std::vector<uint64_t> released = decoder_.takeUnused(front, back);
    const std::optional<Message> reply = call(
        makeMessage(DecoderOp::ReadVideo, request, released.data(), released.size() * sizeof(uint64_t)));
    ReadReply answer;
    if (!reply || !reply->take(answer)) return Read::Failed;
    const auto read = static_cast<MediaReader::Read>(answer.read);
    const int answeredWidth = answer.video.picture.width;
    const int answeredHeight = answer.video.picture.height;
    if (read == MediaReader::Read::Sample &&
        (answeredWidth != format.width || answeredHeight != format.height ||
         media::pictureFormatOf(answer.video).planes != format.planes)) {
      // Written into a buffer made for another picture: the frame does not fit
      // where it claims to be, and a process that says so is not to be trusted.
      decoder_.abandon("a frame of " + std::to_string(answeredWidth) + "x" + std::to_string(answeredHeight) +
                       " in a buffer for " + std::to_string(format.width) + "x" + std::to_string(format.height));
      return Read::Failed;
    }
    if ((read == MediaReader::Read::NoRoom || read == MediaReader::Read::Sample) &&
        !media::pictureFits(answeredWidth, answeredHeight))
      return Read::Failed;
    if (read == MediaReader::Read::NoRoom || read == MediaReader::Read::Sample) video_ = answer.video;
    if (read == MediaReader::Read::NoRoom) continue;
    // The same planes, but the colour the frame was written with.
    if (read == MediaReader::Read::Sample) {
      picture.prepare(media::pictureFormatOf(*video_));
      decodedByCard_ = answer.decodedByCard != 0;
    }
    time = answer.time;
    return playbackRead(read);
  }
  return Read::Failed;
}

DecodedFile::Read RemoteDecodedFile::readAudio(int64_t notBefore, std::vector<uint8_t>& pcm, int64_t& time) {
  if (!audio_) return Read::EndOfStream;
  const std::optional<Message> reply = call(makeMessage(DecoderOp::ReadAudio, ReadAudioRequest{notBefore}));
  ReadReply answer;
  if (!reply || !reply->take(answer)) return Read::Failed;
  time = answer.time;
  pcm = reply->after<ReadReply>();
  return playbackRead(static_cast<MediaReader::Read>(answer.read));
}

bool RemoteDecodedFile::seek(int64_t time) {
  const std::optional<Message> reply = call(makeMessage(DecoderOp::Seek, SeekRequest{time}));
  SeekReply answer;
  return reply && reply->take(answer) && answer.done != 0;
}

}  // namespace qova::aplayer
