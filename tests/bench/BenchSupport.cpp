#include "tests/bench/BenchSupport.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"
#include "tests/bench/timing_aplayer/TimingLog.h"
#include "tests/bench/UnixProcess.h"
#include "tests/support/Dib.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace qova::bench {
namespace {

Ticks fileTimeTicks(FILETIME time) {
  return static_cast<Ticks>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

std::string binFolder() {
  // The bench programs live in bin/bench/, the test programs in bin/ beside qova.exe.
  std::string folder = test::testProgramDirectory();
  if (::GetFileAttributesA((folder + "\\qova.exe").c_str()) != INVALID_FILE_ATTRIBUTES) return folder;
  return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace

Ticks now() {
  FILETIME time{};
  ::GetSystemTimePreciseAsFileTime(&time);
  return fileTimeTicks(time);
}

double milliseconds(Ticks from, Ticks to) { return static_cast<double>(to - from) / 10000.0; }

double cpuSeconds(HANDLE process, int unixPid) {
  if (unixPid > 0) return unixCpuSeconds(unixPid);
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0.0;
  return static_cast<double>(fileTimeTicks(kernel) + fileTimeTicks(user)) / 1e7;
}

double peakWorkingSetMb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0.0;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

std::string buildFile(const std::string& name) { return binFolder() + "\\" + name; }

std::vector<LogLine> readTimedLog(const std::string& path) {
  std::vector<LogLine> lines;
  std::istringstream text(readWholeFile(path));
  for (std::string line; std::getline(text, line);) {
    const auto space = line.find(' ');
    if (space == std::string::npos) continue;
    lines.push_back({std::stoll(line.substr(0, space)), line.substr(space + 1)});
  }
  return lines;
}

int findLine(const std::vector<LogLine>& lines, const std::string& prefix, std::size_t first) {
  for (std::size_t i = first; i < lines.size(); ++i)
    if (lines[i].what.rfind(prefix, 0) == 0) return static_cast<int>(i);
  return -1;
}

Ticks waitForLogLine(const std::string& path, const std::string& prefix, std::chrono::milliseconds timeout) {
  Ticks found = 0;
  test::waitUntil(
      [&] {
        const auto lines = readTimedLog(path);
        const int index = findLine(lines, prefix);
        if (index >= 0) found = lines[static_cast<std::size_t>(index)].time;
        return index >= 0;
      },
      timeout);
  return found;
}

TimedProgram::TimedProgram() {
  // The program's binaries as they ship: stripped of their debug sections.
  folder_.copyFromBuild("bench\\shipped\\qova.exe", "qova.exe");
  folder_.copyFromBuild("bench\\shipped\\ExuiKrnln.dll", "ExuiKrnln.dll");
  folder_.copyFromBuild("bench\\shipped\\timing\\APlayerCaller.dll", "APlayerCaller.dll");
  folder_.copyFromBuild("bench\\shipped\\APlayerCaller.dll", kTimedEngineFile);
  folder_.copyFromBuild("bench\\shipped\\APlayerDecoder.exe", "APlayerDecoder.exe");
  // The panel stays hidden, as on a desktop where it is not wanted.
  folder_.writeSettings("[程序设置]\r\n窗体显示=1\r\n播放音量=50\r\n");
}

std::string TimedProgram::timingLog() const { return folder_.file(kTimingLogFile); }

void TimedProgram::writeLibrary(const std::vector<std::string>& videos, bool thumbnails) {
  std::vector<test::ProgramFolder::Entry> entries;
  const std::string thumbnail = readWholeFile(buildFile("media\\bench_thumb.jpg"));
  for (std::size_t i = 0; i < videos.size(); ++i) {
    std::string picture;
    if (thumbnails) {
      picture = folder_.file("thumb" + std::to_string(i) + ".jpg");
      writeWholeFile(picture, thumbnail);
    }
    entries.push_back({videos[i], picture, "video " + std::to_string(i + 1)});
  }
  folder_.writeLibrary(entries);
}

Colour screenCentreColour() {
  constexpr int kSide = 4;
  const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  HDC screen = ::GetDC(nullptr);
  UniqueMemoryDc memory(::CreateCompatibleDC(screen));
  void* bits = nullptr;
  UniqueGdiObject dib(test::createTopDownDib(screen, kSide, kSide, &bits));
  Colour colour = Colour::Other;
  if (memory && dib) {
    HGDIOBJ previous = ::SelectObject(memory.get(), dib.get());
    if (::BitBlt(memory.get(), 0, 0, kSide, kSide, screen, x, y, SRCCOPY)) {
      ::GdiFlush();
      const uint32_t pixel = static_cast<const uint32_t*>(bits)[kSide * kSide / 2 + kSide / 2];
      const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
      if (r > 150 && g < 100 && b < 100) colour = Colour::Red;
      else if (g > 100 && r < 100 && b < 100) colour = Colour::Green;
      else if (b > 150 && r < 100 && g < 100) colour = Colour::Blue;
    }
    ::SelectObject(memory.get(), previous);
  }
  ::ReleaseDC(nullptr, screen);
  return colour;
}

Ticks waitForColour(Colour colour, std::chrono::milliseconds timeout) {
  const Ticks deadline = now() + static_cast<Ticks>(timeout.count()) * 10'000;
  while (screenCentreColour() != colour) {
    if (now() >= deadline) return 0;
    ::Sleep(2);
  }
  return now();
}

ReferenceStart startReference(const std::string& clip, Colour colour) {
  using namespace std::chrono_literals;
  test::waitUntil([&] { return screenCentreColour() != colour; }, 10s);
  test::TempFolder folder("reference_player");
  const std::string log = folder.file("reference.log");
  ReferenceStart times;
  times.processStart = now();
  test::TestProcess player(buildFile(kReferencePlayer), "\"" + log + "\" \"" + clip + "\"");
  if (!player.started()) return {};
  times.firstFrame = waitForColour(colour, 60s);
  const auto lines = readTimedLog(log);
  const int open = findLine(lines, "open");
  if (open >= 0) times.open = lines[static_cast<std::size_t>(open)].time;
  return times;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void RunTimes::add(std::optional<double> runMilliseconds) {
  if (runMilliseconds)
    milliseconds.push_back(*runMilliseconds);
  else
    ++failed;
}

std::string RunTimes::summary() const {
  const std::size_t runs = milliseconds.size() + static_cast<std::size_t>(failed);
  if (milliseconds.empty()) return "no run of " + std::to_string(runs) + " ended";
  char text[96];
  std::snprintf(text, sizeof text, "median %.0f ms of %zu runs", median(milliseconds), runs);
  return failed ? text + (", " + std::to_string(failed) + " failed") : std::string(text);
}

void idle(std::chrono::milliseconds duration) { test::pumpMessagesFor(duration); }

}  // namespace qova::bench
