#include "outside/decoder/DecoderService.h"

#include <chrono>
#include <cstring>
#include <string>

namespace qova::aplayer {

void DecoderService::run() {
  if (pipe_.send(Message{DecoderOp::Ready, {}}, INFINITE, nullptr) != MessagePipe::Outcome::Done) return;
  Message request;
  while (pipe_.receive(request, INFINITE, nullptr) == MessagePipe::Outcome::Done) {
    if (pipe_.send(answer(request), INFINITE, nullptr) != MessagePipe::Outcome::Done) return;
  }
}

Message DecoderService::answer(const Message& request) {
  switch (request.op) {
    case DecoderOp::Open:
      return open(request);
    case DecoderOp::Close:
      reader_.reset();
      return {DecoderOp::Close, {}};
    case DecoderOp::Seek:
      return seek(request);
    case DecoderOp::DropAudio:
      if (reader_) reader_->dropAudio();
      return {DecoderOp::DropAudio, {}};
    case DecoderOp::ReadVideo:
      return readVideo(request);
    case DecoderOp::ReadAudio:
      return readAudio(request);
    case DecoderOp::Ready:
    case DecoderOp::Connect:
      break;
  }
  // Not a request of ours: an empty answer, which the engine takes as a failure.
  return {request.op, {}};
}

Message DecoderService::open(const Message& request) {
  reader_.reset();
  OpenRequest opening;
  OpenReply reply;
  reply.outcome = static_cast<int32_t>(Resolution::Refused);
  const std::vector<uint8_t> name = request.after<OpenRequest>();
  if (!request.take(opening) || opening.timeoutMilliseconds <= 0 || name.size() % sizeof(wchar_t) != 0)
    return makeMessage(DecoderOp::Open, reply);
  std::wstring path(name.size() / sizeof(wchar_t), L'\0');
  std::memcpy(path.data(), name.data(), name.size());
  MediaReader::Opening opened =
      MediaReader::open(path, std::chrono::milliseconds(opening.timeoutMilliseconds), nullptr,
                        LUID{opening.adapterLow, opening.adapterHigh});
  reply.outcome = static_cast<int32_t>(opened.outcome);
  reply.error = static_cast<int32_t>(opened.error);
  reader_ = std::move(opened.reader);
  if (reader_) {
    reply.hasVideo = reader_->hasVideo();
    if (reply.hasVideo) reply.video = reader_->videoFormat();
    reply.hasAudio = reader_->hasAudio();
    if (reply.hasAudio) reply.audio = reader_->audioFormat();
    reply.duration = reader_->duration();
  }
  return makeMessage(DecoderOp::Open, reply);
}

Message DecoderService::seek(const Message& request) {
  SeekRequest seeking;
  SeekReply reply;
  reply.done = reader_ && request.take(seeking) && reader_->seek(seeking.time);
  return makeMessage(DecoderOp::Seek, reply);
}

const SharedPixels* DecoderService::frameBuffer(const ReadVideoRequest& request) {
  if (request.section == 0) return nullptr;
  auto known = buffers_.find(request.section);
  if (known == buffers_.end()) {
    // Every handle the engine places here is ours to close from now on,
    // even when it cannot be used: the engine has forgotten it.
    const auto handle = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(request.section));
    SharedPixels adopted = SharedPixels::adopt(handle, static_cast<size_t>(request.bytes));
    // One that cannot be mapped is closed already, and its number may come
    // back for another section: nothing of it is kept.
    if (adopted.empty()) return nullptr;
    known = buffers_.emplace(request.section, std::move(adopted)).first;
  }
  if (request.width <= 0 || request.height <= 0) return nullptr;
  const SharedPixels& pixels = known->second;
  const size_t needed = media::pictureBytes(pictureOf(request));
  return !pixels.empty() && needed != 0 && pixels.size() >= needed ? &pixels : nullptr;
}

media::PictureFormat DecoderService::pictureOf(const ReadVideoRequest& request) {
  media::PictureFormat picture;
  picture.planes = request.planes;
  picture.width = request.width;
  picture.height = request.height;
  return picture;
}

Message DecoderService::readVideo(const Message& request) {
  ReadVideoRequest reading;
  ReadReply reply;
  reply.read = static_cast<int32_t>(MediaReader::Read::Failed);
  if (!request.take(reading)) return makeMessage(DecoderOp::ReadVideo, reply);
  // Released and placed handles are taken in with or without a file: the
  // engine forgets them as it sends them.
  const std::vector<uint8_t> released = request.after<ReadVideoRequest>();
  for (size_t at = 0; at + sizeof(uint64_t) <= released.size(); at += sizeof(uint64_t)) {
    uint64_t handle = 0;
    std::memcpy(&handle, released.data() + at, sizeof handle);
    buffers_.erase(handle);
  }
  const SharedPixels* buffer = frameBuffer(reading);
  if (!reader_) return makeMessage(DecoderOp::ReadVideo, reply);
  const auto room = [&](const media::PictureFormat& picture) -> uint8_t* {
    return buffer && picture.width == reading.width && picture.height == reading.height &&
                   picture.planes == reading.planes
               ? buffer->data()
               : nullptr;
  };
  reply.read = static_cast<int32_t>(reader_->readVideo(reading.notBefore, room, reply.time));
  if (reader_->hasVideo()) reply.video = reader_->videoFormat();
  reply.decodedByCard = reader_->decodedByCard();
  return makeMessage(DecoderOp::ReadVideo, reply);
}

Message DecoderService::readAudio(const Message& request) {
  ReadAudioRequest reading;
  ReadReply reply;
  reply.read = static_cast<int32_t>(MediaReader::Read::Failed);
  std::vector<uint8_t> pcm;
  if (reader_ && request.take(reading))
    reply.read = static_cast<int32_t>(reader_->readAudio(reading.notBefore, pcm, reply.time));
  return makeMessage(DecoderOp::ReadAudio, reply, pcm.data(), pcm.size());
}

}  // namespace qova::aplayer
