#pragma once
// The decoding process's side of the pipe: it opens the engine's files and
// answers each request (DecoderProtocol.h) until the engine closes the pipe.
#include <memory>
#include <unordered_map>

#include "outside/decoder/MediaReader.h"
#include "outside/decoder/MessagePipe.h"
#include "outside/decoder/SharedPixels.h"

namespace qova::aplayer {

class DecoderService {
 public:
  explicit DecoderService(MessagePipe& pipe) : pipe_(pipe) {}
  // Returns when the pipe is closed or broken.
  void run();

 private:
  Message answer(const Message& request);
  Message open(const Message& request);
  Message seek(const Message& request);
  Message readVideo(const Message& request);
  Message readAudio(const Message& request);
  // The engine's frame buffer of `request`, mapped here the first time it comes.
  const SharedPixels* frameBuffer(const ReadVideoRequest& request);
  static media::PictureFormat pictureOf(const ReadVideoRequest& request);

  MessagePipe& pipe_;
  std::unique_ptr<MediaReader> reader_;
  // Section handle (as the engine gave it) -> its memory mapped here.
  std::unordered_map<uint64_t, SharedPixels> buffers_;
};

}  // namespace qova::aplayer
