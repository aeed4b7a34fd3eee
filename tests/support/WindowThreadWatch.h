#pragma once
// How long a window's thread keeps messages waiting: every 50 ms a message
// is sent to the window and its round trip timed, from a thread of its own,
// until the watch is stopped.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace qova::test {

class WindowThreadWatch {
 public:
  explicit WindowThreadWatch(HWND window);
  ~WindowThreadWatch();
  WindowThreadWatch(const WindowThreadWatch&) = delete;
  WindowThreadWatch& operator=(const WindowThreadWatch&) = delete;

  // Ends the watch; the figures stay.
  void stop();
  // The longest round trip seen; a window that did not answer within 30 s counts as 30 s.
  std::chrono::milliseconds longest() const { return std::chrono::milliseconds(longestMs_.load()); }
  int trips() const { return trips_.load(); }

 private:
  std::atomic<bool> stopping_{false};
  std::atomic<long long> longestMs_{0};
  std::atomic<int> trips_{0};
  std::thread thread_;
};

}  // namespace qova::test
