// Times loading a library file of 1,000 / 10,000 / 100,000 records the way
// the program does (run, matchCount, the three groups of every match), with
// the system's "VBScript.RegExp" and with our own matcher. Prints figures;
// not a test.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "engines/pattern/PatternMatcher.h"
#include "tests/engines/pattern/LibraryCorpus.h"

namespace {

struct Timing {
  double seconds = 0;
  int entries = 0;
};

Timing loadWith(qova::PatternEngine engine, const std::string& file) {
  const auto start = std::chrono::steady_clock::now();
  qova::PatternMatcher matcher(engine);
  Timing timing;
  if (matcher.run(qova::test::kLibraryPattern, file)) {
    const int count = matcher.matchCount();
    for (int i = 1; i <= count; ++i) {
      const std::string video = matcher.groupText(i, 1);
      const std::string thumbnail = matcher.groupText(i, 2);
      const std::string name = matcher.groupText(i, 3);
      if (!video.empty() && !thumbnail.empty() && !name.empty()) ++timing.entries;
    }
  }
  timing.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return timing;
}

}  // namespace

int main() {
  qova::test::Dice dice(2024);
  std::printf("%10s %12s %16s %16s\n", "records", "bytes", "VBScript.RegExp", "own matcher");
  for (int records : {1000, 10000, 100000}) {
    const std::string file = qova::test::libraryFile(dice, records, false);
    const Timing system = loadWith(qova::PatternEngine::System, file);
    const Timing own = loadWith(qova::PatternEngine::Own, file);
    std::printf("%10d %12zu %14.3f s %14.3f s%s\n", records, file.size(), system.seconds, own.seconds,
                system.entries == own.entries && own.entries == records ? "" : "  (entry counts differ!)");
  }
  return 0;
}
