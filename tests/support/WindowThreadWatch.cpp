#include "tests/support/WindowThreadWatch.h"

#include <algorithm>

namespace qova::test {

WindowThreadWatch::WindowThreadWatch(HWND window)
    : thread_([this, window] {
        using namespace std::chrono;
        while (!stopping_) {
          const auto sent = steady_clock::now();
          DWORD_PTR answer = 0;
          ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
          const long long took = duration_cast<milliseconds>(steady_clock::now() - sent).count();
          longestMs_ = std::max(longestMs_.load(), took);
          ++trips_;
          std::this_thread::sleep_for(milliseconds(50));
        }
      }) {}

WindowThreadWatch::~WindowThreadWatch() { stop(); }

void WindowThreadWatch::stop() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

}  // namespace qova::test
