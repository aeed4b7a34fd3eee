#include "library/FailureStreak.h"

namespace qova {

bool FailureStreak::passOver(int videoCount) {
  if (stopped_) return false;
  ++failuresInARow_;
  stopped_ = failuresInARow_ >= videoCount;
  return !stopped_;
}

void FailureStreak::reset() {
  failuresInARow_ = 0;
  stopped_ = false;
}

}  // namespace qova
