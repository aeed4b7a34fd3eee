#pragma once
// One end of the pipe between the engine and its decoding process: whole
// messages (DecoderProtocol.h) sent and received, each wait bounded in time
// and cut short by an interrupt event.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "outside/decoder/DecoderProtocol.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

struct Message {
  DecoderOp op{};
  std::vector<uint8_t> payload;

  // The payload's first bytes as a T; false when it is shorter.
  template <typename T>
  bool take(T& value) const {
    if (payload.size() < sizeof(T)) return false;
    std::memcpy(&value, payload.data(), sizeof(T));
    return true;
  }
  // What follows a T at the payload's start.
  template <typename T>
  std::vector<uint8_t> after() const {
    if (payload.size() <= sizeof(T)) return {};
    return {payload.begin() + sizeof(T), payload.end()};
  }
};

// A message whose payload is `fixed` followed by `tailBytes` of `tail`.
template <typename T>
Message makeMessage(DecoderOp op, const T& fixed, const void* tail = nullptr, size_t tailBytes = 0) {
  Message message{op, std::vector<uint8_t>(sizeof(T) + tailBytes)};
  std::memcpy(message.payload.data(), &fixed, sizeof(T));
  if (tailBytes) std::memcpy(message.payload.data() + sizeof(T), tail, tailBytes);
  return message;
}

class MessagePipe {
 public:
  // Takes a pipe handle opened for overlapped reading and writing.
  explicit MessagePipe(HANDLE pipe);
  MessagePipe(const MessagePipe&) = delete;
  MessagePipe& operator=(const MessagePipe&) = delete;

  bool valid() const { return pipe_ && event_; }

  // Garbled: the other end does not speak the protocol (a message too large, a reply of another kind).
  enum class Outcome { Done, Broken, TimedOut, Interrupted, Garbled };
  // Each waits at most `limit` (INFINITE for ever); `interrupt` (an event, may be null) cuts it short.
  Outcome send(const Message& message, DWORD limit, HANDLE interrupt);
  Outcome receive(Message& message, DWORD limit, HANDLE interrupt);

 private:
  // One transfer of exactly `bytes`, waited for as the limit and interrupt allow.
  Outcome transfer(bool write, void* data, DWORD bytes, ULONGLONG deadline, HANDLE interrupt);

  UniqueFile pipe_;
  UniqueHandle event_;
};

}  // namespace qova::aplayer
