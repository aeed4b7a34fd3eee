#pragma once
// The time of the file playing: where in the file the picture should be
// now. It starts when the first frame is out, stands still while paused,
// and is what every later frame waits for.
#include <chrono>
#include <cstdint>

namespace qova::aplayer {

class MediaClock {
 public:
  // From now on the clock reads `time` (100 ns units), running or standing.
  void start(int64_t time, bool running) {
    base_ = time;
    startedAt_ = std::chrono::steady_clock::now();
    running_ = running;
  }
  void pause() {
    if (!running_) return;
    base_ = now();
    running_ = false;
  }
  void resume() {
    if (running_) return;
    startedAt_ = std::chrono::steady_clock::now();
    running_ = true;
  }
  // 100 ns units.
  int64_t now() const {
    if (!running_) return base_;
    const auto elapsed = std::chrono::steady_clock::now() - startedAt_;
    return base_ + std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count() / 100;
  }

 private:
  int64_t base_ = 0;
  std::chrono::steady_clock::time_point startedAt_{};
  bool running_ = false;
};

}  // namespace qova::aplayer
