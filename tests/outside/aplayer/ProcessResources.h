#pragma once
// What this process holds of the system: threads, kernel handles and private
// memory, for checking that playing file after file gives everything back.
#include <cstddef>
#include <string>

namespace qova::test {

struct ProcessResources {
  int threads = 0;       // -1 when the system cannot tell
  int handles = 0;       // -1 when the system cannot tell
  size_t privateBytes = 0;
  size_t workingSet = 0;

  // "threads 12, handles 340, private 20.5 MB, working set 80.2 MB"
  std::string describe() const;
};

ProcessResources currentProcessResources();

}  // namespace qova::test
