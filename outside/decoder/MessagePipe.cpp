#include "outside/decoder/MessagePipe.h"

namespace qova::aplayer {
namespace {

ULONGLONG deadlineAfter(DWORD limit) { return limit == INFINITE ? ~0ull : ::GetTickCount64() + limit; }

DWORD timeLeft(ULONGLONG deadline) {
  if (deadline == ~0ull) return INFINITE;
  const ULONGLONG now = ::GetTickCount64();
  return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

}  // namespace

MessagePipe::MessagePipe(HANDLE pipe)
    : pipe_(pipe == nullptr ? INVALID_HANDLE_VALUE : pipe), event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

MessagePipe::Outcome MessagePipe::send(const Message& message, DWORD limit, HANDLE interrupt) {
  if (message.payload.size() > kLargestMessage) return Outcome::Broken;
  MessageHeader header{message.op, static_cast<uint32_t>(message.payload.size())};
  const ULONGLONG deadline = deadlineAfter(limit);
  Outcome outcome = transfer(true, &header, sizeof header, deadline, interrupt);
  if (outcome == Outcome::Done && header.bytes)
    outcome = transfer(true, const_cast<uint8_t*>(message.payload.data()), header.bytes, deadline, interrupt);
  return outcome;
}

MessagePipe::Outcome MessagePipe::receive(Message& message, DWORD limit, HANDLE interrupt) {
  MessageHeader header{};
  const ULONGLONG deadline = deadlineAfter(limit);
  Outcome outcome = transfer(false, &header, sizeof header, deadline, interrupt);
  if (outcome != Outcome::Done) return outcome;
  if (header.bytes > kLargestMessage) return Outcome::Garbled;
  message.op = header.op;
  message.payload.resize(header.bytes);
  if (header.bytes) outcome = transfer(false, message.payload.data(), header.bytes, deadline, interrupt);
  return outcome;
}

MessagePipe::Outcome MessagePipe::transfer(bool write, void* data, DWORD bytes, ULONGLONG deadline,
                                           HANDLE interrupt) {
  if (!valid()) return Outcome::Broken;
  auto* cursor = static_cast<uint8_t*>(data);
  while (bytes > 0) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event_.get();
    ::ResetEvent(event_.get());
    DWORD moved = 0;
    const BOOL finished = write ? ::WriteFile(pipe_.get(), cursor, bytes, &moved, &overlapped)
                                : ::ReadFile(pipe_.get(), cursor, bytes, &moved, &overlapped);
    if (!finished) {
      if (::GetLastError() != ERROR_IO_PENDING) return Outcome::Broken;
      const HANDLE waits[] = {event_.get(), interrupt};
      const DWORD woken = ::WaitForMultipleObjects(interrupt ? 2 : 1, waits, FALSE, timeLeft(deadline));
      if (woken != WAIT_OBJECT_0) {
        // The transfer must be over before its buffer and OVERLAPPED go.
        ::CancelIoEx(pipe_.get(), &overlapped);
        ::GetOverlappedResult(pipe_.get(), &overlapped, &moved, TRUE);
        return woken == WAIT_OBJECT_0 + 1 ? Outcome::Interrupted : Outcome::TimedOut;
      }
      if (!::GetOverlappedResult(pipe_.get(), &overlapped, &moved, FALSE)) return Outcome::Broken;
    }
    if (moved == 0) return Outcome::Broken;
    cursor += moved;
    bytes -= moved;
  }
  return Outcome::Done;
}

}  // namespace qova::aplayer
