#pragma once
// The diagnostic log, "qova.log" in a folder of its own (runtime/LogFiles.h
// names and rotates its files). Lines are stamped by the caller and queued;
// a thread of the log's own writes them, so that a slow or full disk never
// holds the window thread up. When the folder cannot be made or a write
// fails (a read-only folder, a full disk), the log stops: later lines are
// dropped and nothing else changes.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "runtime/LogFiles.h"
#include "runtime/UniqueHandle.h"

namespace qova {

class DiagnosticLog {
 public:
  // Starts the writer for `folder` (made when missing). While it lives it is
  // the process's log (logLine).
  explicit DiagnosticLog(std::string folder);
  // Writes what is queued, then ends the writer.
  ~DiagnosticLog();
  DiagnosticLog(const DiagnosticLog&) = delete;
  DiagnosticLog& operator=(const DiagnosticLog&) = delete;

  // Queues one line; never waits for the disk. Dropped once the log stopped,
  // and while kQueueLimit lines wait (the number dropped is written later).
  void write(std::string_view text);
  // The last lines queued, oldest first, for a crash report; empty when the
  // lines cannot be had without waiting (the crash came while they were held).
  std::string tail();
  const std::string& folder() const { return folder_; }

  static constexpr std::size_t kQueueLimit = 4096;
  static constexpr std::size_t kTailLines = 200;

 private:
  void writeQueued();
  // Appends the line to the file, rotating first when it would grow too
  // large; false when the disk refused it.
  bool append(const std::string& line);
  bool openFile();

  std::string folder_;
  UniqueFile file_;  // "qova.log", while open
  std::uint64_t fileSize_ = 0;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::string> queue_;
  std::size_t dropped_ = 0;
  LogTail tail_{kTailLines};
  bool ending_ = false;
  bool stopped_ = false;  // written by the writer only
  std::thread writer_;
};

// Writes a line to the process's log; nothing when there is none.
void logLine(std::string_view text);
// The process's log; null when there is none.
DiagnosticLog* processLog();

}  // namespace qova
