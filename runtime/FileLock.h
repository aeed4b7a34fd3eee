#pragma once
// An exclusive lock that every process of the machine sees, kept on a small
// file of its own: the lock belongs to the file, not to the path that names
// it, so two spellings of one folder (a subst drive, a junction, a share)
// still meet at one lock. A process that dies lets its lock go.
#include <chrono>
#include <string>

#include "runtime/UniqueHandle.h"

namespace qova {

class FileLock {
 public:
  enum class State {
    Held,
    NoFile,  // the lock file cannot be created or opened (a read-only folder)
    Busy,    // another holder kept it for the whole patience
  };

  // Opens (or creates, hidden) the lock file `path` and waits up to
  // `patience` for the lock; held until destruction.
  FileLock(const std::string& path, std::chrono::milliseconds patience);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  State state() const { return state_; }
  bool held() const { return state_ == State::Held; }

 private:
  UniqueFile file_;
  State state_ = State::NoFile;
};

}  // namespace qova
