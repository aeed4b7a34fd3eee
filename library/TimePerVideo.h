#pragma once
// A time per video: an entry that ends before its time since it began has
// passed plays again from its start, and the next entry comes at its first
// end after that time. No time (0 minutes) plays each entry once.
// Platform-free; the clock is given, so that a test need not wait minutes.
#include <chrono>
#include <functional>
#include <utility>

namespace qova {

class TimePerVideo {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  void setClock(Clock clock) { clock_ = std::move(clock); }
  // An entry began: the time runs from now. Playing it again is no new beginning.
  void began() { began_ = clock_(); }
  // At the entry's end, with `minutes` per video: whether it plays again.
  bool playsAgain(int minutes) const {
    return minutes > 0 && clock_() - began_ < std::chrono::minutes(minutes);
  }

 private:
  Clock clock_ = [] { return std::chrono::steady_clock::now(); };
  std::chrono::steady_clock::time_point began_ = clock_();
};

}  // namespace qova
