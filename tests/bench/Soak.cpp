#include "tests/bench/Soak.h"

#include <cstdio>

#include "tests/bench/UnixProcess.h"
#include "tests/support/TestProcess.h"

namespace qova::bench {
namespace {

struct LogCounts {
  bool playing = false;
  int ended = 0;
  int opens = 0;
  int refused = 0;
  int failures = 0;
  std::vector<double> endToPlaying;  // milliseconds
};

LogCounts countLog(const std::string& path) {
  LogCounts counts;
  Ticks lastEnd = 0;
  for (const LogLine& line : readTimedLog(path)) {
    if (line.what == "event 1 3") {
      counts.playing = true;
      if (lastEnd) counts.endToPlaying.push_back(milliseconds(lastEnd, line.time));
      lastEnd = 0;
    } else if (line.what == "event 6 0") {
      ++counts.ended;
      lastEnd = line.time;
    } else if (line.what.rfind("event 5 ", 0) == 0) {
      ++counts.failures;
    } else if (line.what.rfind("opened ", 0) == 0) {
      ++counts.opens;
      if (line.what != "opened 0") ++counts.refused;
    }
  }
  return counts;
}

}  // namespace

bool SoakFigures::decodingProcessMeasured() const {
  if (samples.empty()) return false;
  for (const SoakSample& sample : samples)
    if (sample.decodingProcesses < 1) return false;
  return true;
}

const SoakSample& SoakFigures::at(int files) const {
  for (const SoakSample& sample : samples)
    if (sample.files >= files) return sample;
  return samples.back();
}

SoakFigures soakProgram(TimedProgram& program, int files, const std::vector<int>& checkpoints,
                        std::chrono::seconds limit, bool print) {
  SoakFigures figures;
  const Ticks start = now();
  test::TestProcess& process = program.folder().start();
  if (!process.started()) return figures;
  int unixPid = 0;
  std::size_t nextCheckpoint = 0;
  LogCounts counts;
  const auto sample = [&](int filesSoFar) {
    // The program's and its engine's decoding process's together: both run from the program's folder.
    UnixMemory memory;
    for (int pid : findUnixProcesses(program.folder().path())) {
      const UnixMemory part = unixMemory(pid);
      memory.residentMb += part.residentMb;
      memory.threads += part.threads;
    }
    const int decoders = static_cast<int>(findUnixProcesses(program.folder().file("APlayerDecoder.exe")).size());
    figures.samples.push_back(
        {filesSoFar, milliseconds(start, now()) / 1000.0, memory.residentMb, memory.threads, decoders});
    if (print)
      std::printf("soak: %5d files  %7.1f s  %7.1f MB  %3d threads  %d decoding process(es)\n", filesSoFar,
                  figures.samples.back().seconds, memory.residentMb, memory.threads, decoders);
    std::fflush(stdout);
  };
  const Ticks deadline = start + static_cast<Ticks>(limit.count()) * 10'000'000;
  while (now() < deadline && process.running()) {
    idle(std::chrono::milliseconds(500));
    if (!unixPid) unixPid = findUnixProcess(program.folder().path());
    counts = countLog(program.timingLog());
    if (!unixPid || !counts.playing) continue;
    if (figures.samples.empty()) sample(0);
    while (nextCheckpoint < checkpoints.size() && counts.ended >= checkpoints[nextCheckpoint]) {
      sample(counts.ended);
      ++nextCheckpoint;
    }
    if (counts.ended >= files) break;
  }
  figures.processFound = unixPid != 0;
  if (unixPid && counts.playing) sample(counts.ended);
  figures.filesEnded = counts.ended;
  figures.opens = counts.opens;
  figures.refusedOpens = counts.refused;
  figures.failureEvents = counts.failures;
  figures.medianEndToPlaying = counts.endToPlaying.empty() ? 0.0 : median(counts.endToPlaying);
  process.kill();
  return figures;
}

}  // namespace qova::bench
