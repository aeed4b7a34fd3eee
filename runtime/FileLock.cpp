#include "runtime/FileLock.h"

#include <thread>

namespace qova {
namespace {

bool lockWholeFile(HANDLE file) {
  OVERLAPPED at{};
  return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != FALSE;
}

}  // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience) {
  // Every sharing allowed: the lock is the byte range, and the file may be
  // deleted (an uninstall) while someone holds it.
  file_.reset(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_HIDDEN, nullptr));
  if (!file_) return;
  // Polled rather than waited for: a blocking LockFileEx has no time limit,
  // and a holder that hangs must not hang us.
  const auto giveUp = std::chrono::steady_clock::now() + patience;
  while (!lockWholeFile(file_.get())) {
    if (std::chrono::steady_clock::now() >= giveUp) {
      state_ = State::Busy;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  state_ = State::Held;
}

FileLock::~FileLock() {
  if (state_ != State::Held) return;
  OVERLAPPED at{};
  ::UnlockFileEx(file_.get(), 0, 1, 0, &at);
}

}  // namespace qova
