#pragma once
// Starting, watching and stopping the programs a test drives.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "runtime/UniqueHandle.h"

namespace qova::test {

class TestProcess {
 public:
  TestProcess() = default;
  // Starts `exe` with `arguments` in `workingFolder` (empty: the exe's folder).
  // started() is false when it could not be started.
  TestProcess(const std::string& exe, const std::string& arguments,
              const std::string& workingFolder = {});
  TestProcess(TestProcess&&) = default;
  TestProcess& operator=(TestProcess&&) = default;
  ~TestProcess();  // kills the process if it still runs

  bool started() const { return static_cast<bool>(process_); }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.get(); }
  // The exit code once it has ended within the time-out; nothing otherwise.
  std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout);
  bool running() const;
  void kill();

 private:
  UniqueHandle process_;
  DWORD id_ = 0;
};

// Polls `condition` every 20 ms until it holds or the time-out passes; its last result.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Runs this thread's message queue for a while (for tests that own windows).
void pumpMessagesFor(std::chrono::milliseconds duration);

}  // namespace qova::test
