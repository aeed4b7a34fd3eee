#include "tests/bench/UnixProcess.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qova::bench {
namespace {

// The whole text of a /proc file (whose size reads as 0, so read to its end).
std::string readProcFile(const std::string& path) {
  std::string text;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
    std::fclose(file);
  }
  return text;
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// "WINEPREFIX=<this process's prefix>" as Linux keeps it in an environment; empty when unknown.
std::string prefixEntry() {
  char prefix[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string("WINEPREFIX=") + prefix + '\0' : std::string();
}

// User plus system CPU seconds in a /proc stat text; -1 when it does not read.
double statCpuSeconds(const std::string& stat) {
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return -1.0;
  // After the command's closing parenthesis: field 3 (state) on; utime and stime are fields 14 and 15.
  unsigned long long user = 0, system = 0;
  if (std::sscanf(stat.c_str() + close + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                  &system) != 2)
    return -1.0;
  constexpr double kClockTicksPerSecond = 100.0;  // USER_HZ on Linux
  return static_cast<double>(user + system) / kClockTicksPerSecond;
}

// The Linux processes of this prefix whose command line contains `part`; only the first when `firstOnly`.
std::vector<int> matchingProcesses(const std::string& part, bool firstOnly) {
  const std::string wanted = lowered(part);
  const std::string prefix = prefixEntry();
  WIN32_FIND_DATAA entry{};
  std::vector<int> found;
  HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    if (!std::isdigit(static_cast<unsigned char>(entry.cFileName[0]))) continue;
    const std::string folder = std::string("Z:\\proc\\") + entry.cFileName;
    std::string commandLine = readProcFile(folder + "\\cmdline");
    std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
    if (lowered(commandLine).find(wanted) == std::string::npos) continue;
    if (!prefix.empty() && readProcFile(folder + "\\environ").find(prefix) == std::string::npos) continue;
    found.push_back(std::atoi(entry.cFileName));
  } while (!(firstOnly && !found.empty()) && ::FindNextFileA(search, &entry));
  ::FindClose(search);
  return found;
}

}  // namespace

int findUnixProcess(const std::string& part) {
  const std::vector<int> found = matchingProcesses(part, true);
  return found.empty() ? 0 : found.front();
}

std::vector<int> findUnixProcesses(const std::string& part) { return matchingProcesses(part, false); }

double unixCpuSeconds(int pid) {
  return statCpuSeconds(readProcFile("Z:\\proc\\" + std::to_string(pid) + "\\stat"));
}

UnixMemory unixMemory(int pid) {
  const std::string status = readProcFile("Z:\\proc\\" + std::to_string(pid) + "\\status");
  const auto field = [&](const char* name) {
    const auto at = status.find(name);
    return at == std::string::npos ? 0.0 : std::atof(status.c_str() + at + std::strlen(name));
  };
  return {field("VmRSS:") / 1024.0, field("VmHWM:") / 1024.0, static_cast<int>(field("Threads:"))};
}

std::vector<ThreadCpu> unixThreadCpu(int pid) {
  std::vector<ThreadCpu> threads;
  const std::string tasks = "Z:\\proc\\" + std::to_string(pid) + "\\task\\";
  WIN32_FIND_DATAA entry{};
  HANDLE search = ::FindFirstFileA((tasks + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return threads;
  do {
    if (!std::isdigit(static_cast<unsigned char>(entry.cFileName[0]))) continue;
    const std::string stat = readProcFile(tasks + entry.cFileName + "\\stat");
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    threads.push_back({std::atoi(entry.cFileName), stat.substr(open + 1, close - open - 1), statCpuSeconds(stat)});
  } while (::FindNextFileA(search, &entry));
  ::FindClose(search);
  return threads;
}

}  // namespace qova::bench
