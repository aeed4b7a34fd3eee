#pragma once
// Blocking the engine's thread without starving other threads that send it
// messages (a decoder or renderer may send to a window of this thread while
// the engine waits for it).
#include <windows.h>

#include <chrono>

namespace qova::aplayer {

// Waits for `handle` (an event or a thread) for at most `timeout`, handling
// only messages sent to this thread meanwhile: posted messages stay queued, so
// no handler of the caller runs. False on time-out.
bool waitDeliveringSentMessages(HANDLE handle, std::chrono::milliseconds timeout);

}  // namespace qova::aplayer
