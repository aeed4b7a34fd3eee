#include "outside/aplayer/SentMessageWait.h"

namespace qova::aplayer {

bool waitDeliveringSentMessages(HANDLE handle, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() < 0) return false;
    const DWORD result = ::MsgWaitForMultipleObjectsEx(1, &handle, static_cast<DWORD>(left.count()),
                                                       QS_SENDMESSAGE, 0);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;
    MSG message;
    ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace qova::aplayer
