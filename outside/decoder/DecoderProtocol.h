#pragma once
// What the engine and its decoding process (APlayerDecoder.exe) say to each
// other over their pipe: each request gets one reply of the same kind. Both
// ends are built together, so the payloads are these structures as they
// lie in memory; every length is still checked before it is trusted.
#include <windows.h>
#include <mmreg.h>

#include <cstdint>

#include "outside/media/VideoFrameFormat.h"

namespace qova::aplayer {

// The decoding program, looked for beside the engine's DLL.
constexpr const wchar_t* kDecoderProgram = L"APlayerDecoder.exe";

// The process is started with the handle of its end of a control pipe on
// its command line, and answers Ready there. Each connection is a pipe of its
// own, whose end the engine places in the process and names with Connect on
// the control pipe; the process answers Ready on the new pipe and serves it
// on a thread of its own. The process ends when the control pipe closes.
enum class DecoderOp : uint32_t {
  Ready = 1,  // sent by the decoding process when a pipe can take requests; no payload
  Connect,    // on the control pipe: ConnectRequest; no answer there
  Open,       // OpenRequest + the path (UTF-16, no terminator) -> OpenReply
  Close,      // no payload -> no payload
  Seek,       // SeekRequest -> SeekReply
  DropAudio,  // no payload -> no payload
  ReadVideo,  // ReadVideoRequest + released section handles (uint64_t each) -> ReadReply
  ReadAudio,  // ReadAudioRequest -> ReadReply + the PCM
};

struct MessageHeader {
  DecoderOp op;
  uint32_t bytes;  // of the payload that follows
};

// No message is larger: a longer one means the other end is not speaking this protocol.
constexpr uint32_t kLargestMessage = 16u << 20;

struct ConnectRequest {
  uint64_t pipe = 0;  // the new pipe's handle in the decoding process
};

struct OpenRequest {
  int32_t timeoutMilliseconds = 0;
  // The adapter the engine presents on (its LUID), for a hardware decoder's
  // device; zero for the system's default.
  uint32_t adapterLow = 0;
  int32_t adapterHigh = 0;
};

struct OpenReply {
  int32_t outcome = 0;  // a Resolution
  int32_t hasVideo = 0;
  int32_t hasAudio = 0;
  media::VideoFrameFormat video{};
  WAVEFORMATEX audio{};
  int64_t duration = 0;
  int32_t error = 0;  // an HRESULT: why the platform refused the file, when it says
};

struct SeekRequest {
  int64_t time = 0;
};

struct SeekReply {
  int32_t done = 0;
};

struct ReadVideoRequest {
  int64_t notBefore = 0;
  // The frame buffer to write into: a section handle valid in the decoding
  // process (0 for the one it was last given), its size in bytes, and the
  // picture it was made ready for (its planes, packed: media::PictureFormat).
  uint64_t section = 0;
  uint64_t bytes = 0;
  int32_t width = 0;
  int32_t height = 0;
  media::PlaneFormat planes = media::PlaneFormat::Nv12;
};

struct ReadAudioRequest {
  int64_t notBefore = 0;
};

struct ReadReply {
  int32_t read = 0;  // a MediaReader::Read
  int64_t time = 0;
  // The frames' format as it now is: NoRoom asks for a buffer of its picture's size.
  media::VideoFrameFormat video{};
  int32_t decodedByCard = 0;  // the frame came from a hardware decoder
};

}  // namespace qova::aplayer
