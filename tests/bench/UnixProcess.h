#pragma once
// Under Wine every Windows process is a Linux process, and its CPU time is
// best read where Linux keeps it: GetProcessTimes on another process reports
// next to nothing there. These read /proc through Wine's drive Z: (the root).
// (Wine opens files in its server, so /proc/self would be the server: a
// process is found by its command line instead.)
#include <string>
#include <vector>

namespace qova::bench {

// The Linux process of this Wine prefix whose command line contains `part`
// (compared without regard to case; a unique folder name does); 0 when none.
int findUnixProcess(const std::string& part);
// Every such process.
std::vector<int> findUnixProcesses(const std::string& part);

// User plus system CPU seconds of Linux process `pid` (all its threads); -1 when unreadable.
double unixCpuSeconds(int pid);

// Resident memory and thread count of Linux process `pid`, from its status; zeros when unreadable.
struct UnixMemory {
  double residentMb = 0.0;
  double peakMb = 0.0;  // the most it was resident
  int threads = 0;
};
UnixMemory unixMemory(int pid);

// CPU seconds of each thread of Linux process `pid`, with the thread's name.
struct ThreadCpu {
  int id = 0;
  std::string name;
  double seconds = 0.0;
};
std::vector<ThreadCpu> unixThreadCpu(int pid);

}  // namespace qova::bench
