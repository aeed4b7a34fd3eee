#pragma once
// What the player benchmarks share: measuring another process, reading the
// timing engine's log, watching the screen, and a program folder whose
// engine is the real one behind the timing engine.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ProgramFolder.h"

namespace qova::bench {

using Ticks = long long;  // 100 ns units of the system clock, as in the timing log
Ticks now();
double milliseconds(Ticks from, Ticks to);

// User plus kernel CPU time the process used so far, in seconds: from
// /proc for its Linux process `unixPid` under Wine (see UnixProcess.h), else
// from the system.
double cpuSeconds(HANDLE process, int unixPid);
// The process's peak working set so far, in MB.
double peakWorkingSetMb(HANDLE process);

// A file of the build's bin/ folder (the media, the bench programs).
std::string buildFile(const std::string& name);
// The bare reference player, stripped as the program is (bin/bench/shipped/).
constexpr const char* kReferencePlayer = "bench\\shipped\\reference_player.exe";

// One line of a time-stamped log (timing engine or reference player).
struct LogLine {
  Ticks time = 0;
  std::string what;
};
std::vector<LogLine> readTimedLog(const std::string& path);
// The first line from `first` on that begins with `prefix`; its index, or -1.
int findLine(const std::vector<LogLine>& lines, const std::string& prefix, std::size_t first = 0);
// Waits until `path` holds a line beginning with `prefix`; its time, or 0.
Ticks waitForLogLine(const std::string& path, const std::string& prefix, std::chrono::milliseconds timeout);

// qova.exe in a folder of its own, with the real engine behind the timing
// engine (whose log is timingLog()).
class TimedProgram {
 public:
  TimedProgram();
  test::ProgramFolder& folder() { return folder_; }
  std::string timingLog() const;
  // A library with one record per video; with thumbnails, each record gets
  // a JPEG thumbnail file of its own (else its thumbnail path is empty).
  void writeLibrary(const std::vector<std::string>& videos, bool thumbnails);

 private:
  test::ProgramFolder folder_{test::EngineChoice::None};
};

// Coarse colour of what the screen shows at its centre.
enum class Colour { Red, Green, Blue, Other };
Colour screenCentreColour();
// Polls the screen's centre every few milliseconds until it shows `colour`;
// when it did, or 0 after `timeout`.
Ticks waitForColour(Colour colour, std::chrono::milliseconds timeout);

// The bare reference player started on a solid-colour clip: when its process
// started, when it created its player, when the colour first showed (0 if never).
struct ReferenceStart {
  Ticks processStart = 0;
  Ticks open = 0;
  Ticks firstFrame = 0;
};
ReferenceStart startReference(const std::string& clip, Colour colour);

double median(std::vector<double> values);

// The times of the runs of one measurement that ended, and how many did not:
// a run that failed has no time, and goes into no median.
struct RunTimes {
  std::vector<double> milliseconds;
  int failed = 0;

  // A run's time, or std::nullopt for a run that failed.
  void add(std::optional<double> runMilliseconds);
  // "median 412 ms of 5 runs", "median 412 ms of 4 runs, 1 failed", "no run of 5 ended".
  std::string summary() const;
};

// Runs this thread's messages for `duration` (the bench owns no windows, but Wine likes a pump).
void idle(std::chrono::milliseconds duration);

}  // namespace qova::bench
