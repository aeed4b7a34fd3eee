// Playback cost, cost while paused, and peak memory: qova.exe playing the
// 1080p clip against the bare reference player playing the same file.
#include "tests/bench/PlayerBenches.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "tests/bench/BenchSupport.h"
#include "tests/bench/UnixProcess.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowSearch.h"

namespace qova::bench {
namespace {

using namespace std::chrono_literals;

constexpr auto kSettle = 1s;       // after playback began, before measuring
constexpr auto kWindow = 30s;      // CPU time is measured over this much playback
constexpr auto kPausedWindow = 10s;
constexpr auto kMemoryPlay = 15s;  // the 1,000-entry library plays this long before its peak is read

struct Usage {
  bool measured = false;
  double cpu = 0.0;      // CPU seconds within the window
  double seconds = 0.0;  // the window's real length
  double peakMb = 0.0;
  double residentMb = 0.0;  // the working set at the window's end
  // The engine's decoding processes' share of the figures above.
  bool decodingWatched = false;
  double decodingCpu = 0.0;
  double decodingPeakMb = 0.0;
  double decodingResidentMb = 0.0;
  std::vector<ThreadCpu> busiest;  // the threads that used the most CPU within the window
  // CPU seconds within the window of the threads that carry no name of
  // their own (Wine names its media, audio and drawing threads), among them
  // the window thread where the program's own work runs.
  double unnamedThreads = 0.0;
  // CPU seconds of Mesa's renderer threads (llvmpipe): under Wine they do the graphics card's work.
  double rendererThreads = 0.0;
  double cores() const { return seconds > 0 ? cpu / seconds : 0.0; }
};

// CPU used by `process` (Linux process `unixPid` under Wine) over `window`,
// and its peak working set at the end; with those of the decoding processes
// whose command line holds `decoders` (none when empty), which count in.
Usage measure(HANDLE process, int unixPid, std::chrono::milliseconds window, const std::string& decoders = {}) {
  Usage usage;
  if (unixPid == 0) std::printf("  (its Linux process was not found: CPU time as GetProcessTimes reports it)\n");
  std::map<int, double> decodingBefore;
  if (!decoders.empty())
    for (int pid : findUnixProcesses(decoders)) decodingBefore[pid] = unixCpuSeconds(pid);
  const double before = cpuSeconds(process, unixPid);
  const auto threadsBefore = unixThreadCpu(unixPid);
  const Ticks start = now();
  idle(window);
  usage.cpu = cpuSeconds(process, unixPid) - before;
  std::map<int, double> earlier;
  for (const ThreadCpu& thread : threadsBefore) earlier[thread.id] = thread.seconds;
  std::string processName;
  for (const ThreadCpu& thread : threadsBefore)
    if (thread.id == unixPid) processName = thread.name;
  for (ThreadCpu thread : unixThreadCpu(unixPid)) {
    thread.seconds -= earlier[thread.id];
    if (thread.name == processName) usage.unnamedThreads += thread.seconds;
    if (thread.name.rfind("llvmpipe", 0) == 0) usage.rendererThreads += thread.seconds;
    usage.busiest.push_back(thread);
  }
  std::sort(usage.busiest.begin(), usage.busiest.end(),
            [](const ThreadCpu& a, const ThreadCpu& b) { return a.seconds > b.seconds; });
  if (usage.busiest.size() > 4) usage.busiest.resize(4);
  usage.seconds = milliseconds(start, now()) / 1000.0;
  usage.decodingWatched = !decoders.empty();
  if (usage.decodingWatched) {
    // A process started within the window counts from its start; one that ended within it is lost.
    for (int pid : findUnixProcesses(decoders)) {
      const UnixMemory memory = unixMemory(pid);
      usage.decodingCpu += std::max(0.0, unixCpuSeconds(pid) - decodingBefore[pid]);
      usage.decodingPeakMb += memory.peakMb;
      usage.decodingResidentMb += memory.residentMb;
    }
  }
  usage.cpu += usage.decodingCpu;
  usage.peakMb = peakWorkingSetMb(process) + usage.decodingPeakMb;
  usage.residentMb = unixMemory(unixPid).residentMb + usage.decodingResidentMb;
  usage.measured = true;
  return usage;
}

void printUsage(const char* what, const Usage& usage) {
  if (!usage.measured) {
    std::printf("  %-44s not measured\n", what);
    return;
  }
  std::printf("  %-44s CPU %6.2f s over %5.1f s = %5.1f%% of one core, peak working set %6.1f MB, now %6.1f MB\n",
              what, usage.cpu, usage.seconds, usage.cores() * 100.0, usage.peakMb, usage.residentMb);
  if (usage.decodingWatched && usage.decodingPeakMb > 0)
    std::printf("  %-44s of which the decoding process: CPU %.2f s, peak %.1f MB, now %.1f MB\n", "",
                usage.decodingCpu, usage.decodingPeakMb, usage.decodingResidentMb);
  else if (usage.decodingWatched)
    std::printf("  %-44s no decoding process running at its end\n", "");
  std::printf("  %-44s unnamed threads %.2f s; busiest:", "", usage.unnamedThreads);
  for (const ThreadCpu& thread : usage.busiest) std::printf(" %s %.2f s;", thread.name.c_str(), thread.seconds);
  std::printf("\n");
}

struct PlayerUsage {
  Usage playing;
  Usage paused;
  Usage pausedLong;  // the next window of the same pause, once the engine let its decoders go
};

PlayerUsage referencePlayer() {
  test::TempFolder folder("reference_player");
  const std::string log = folder.file("reference.log");
  test::TestProcess player(buildFile(kReferencePlayer),
                           "\"" + log + "\" \"" + buildFile("media\\bench_1080p.mp4") + "\"");
  PlayerUsage usage;
  if (!player.started() || !waitForLogLine(log, "playing", 60s)) return usage;
  idle(kSettle);
  const int unixPid = findUnixProcess(log);
  usage.playing = measure(player.handle(), unixPid, kWindow);
  ::PostMessageA(test::findProcessWindow(player.id(), "QovaReferencePlayer"), WM_HOTKEY, 2, 0);
  if (waitForLogLine(log, "paused", 10s)) {
    idle(kSettle);
    usage.paused = measure(player.handle(), unixPid, kPausedWindow);
  }
  return usage;
}

// qova.exe with a library of `entries` records of the 1080p clip; inside the
// shell stand-in's layer when `inShell`, else with its player top-level; a
// player on the primary monitor only when not `everyMonitor`.
PlayerUsage program(int entries, bool inShell, std::chrono::milliseconds window, bool alsoPaused,
                    bool everyMonitor = true, const char* settings = nullptr) {
  std::optional<test::ShellStandin> shell;
  if (inShell) {
    shell.emplace();
    if (!shell->ready()) return {};
  }
  TimedProgram program;
  if (!everyMonitor) program.folder().writeSettings("[程序设置]\r\n窗体显示=1\r\n播放音量=50\r\n多显示器=0\r\n");
  if (settings) program.folder().writeSettings(settings);
  program.writeLibrary(std::vector<std::string>(static_cast<std::size_t>(entries),
                                                buildFile("media\\bench_1080p.mp4")),
                       entries > 1);
  test::TestProcess& process = program.folder().start();
  PlayerUsage usage;
  if (!process.started() || !waitForLogLine(program.timingLog(), "event 1 3", 90s)) return usage;
  idle(kSettle);
  const int unixPid = findUnixProcess(program.folder().file("qova.exe"));
  const std::string decoders = program.folder().file("APlayerDecoder.exe");
  usage.playing = measure(process.handle(), unixPid, window, decoders);
  if (alsoPaused) {
    HWND mainWindow = test::findProcessWindow(process.id(), "QovaMainWindow");
    ::PostMessageA(mainWindow, WM_HOTKEY, 2, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F10));
    if (waitForLogLine(program.timingLog(), "pause", 10s)) {
      idle(kSettle);
      usage.paused = measure(process.handle(), unixPid, kPausedWindow, decoders);
      usage.pausedLong = measure(process.handle(), unixPid, kPausedWindow, decoders);
    }
  }
  return usage;
}

}  // namespace

void benchPlayback() {
  std::printf("Playback of the 1080p clip (CPU over %lld s of playback, from %lld s after it began)\n",
              static_cast<long long>(kWindow.count()), static_cast<long long>(kSettle.count()));
  const PlayerUsage reference = referencePlayer();
  printUsage("reference player (MFPlay, top-level window)", reference.playing);
  printUsage("reference player paused", reference.paused);
  const PlayerUsage inShell = program(1, true, kWindow, true);
  printUsage("qova.exe, 1 entry, in the shell stand-in", inShell.playing);
  printUsage("qova.exe paused (WM_HOTKEY 2), in the shell", inShell.paused);
  printUsage("qova.exe paused, 11 s to 21 s after the pause", inShell.pausedLong);
  const PlayerUsage topLevel = program(1, false, kWindow, false);
  printUsage("qova.exe, 1 entry, player top-level", topLevel.playing);
  const PlayerUsage listed = program(1000, true, kMemoryPlay, false);
  printUsage("qova.exe, 1,000 entries, in the shell", listed.playing);

  if (reference.playing.cores() > 0)
    std::printf("  playback cost, program / reference: in the shell %.2fx, top-level %.2fx (target at most 1.10x)\n",
                inShell.playing.cores() / reference.playing.cores(),
                topLevel.playing.cores() / reference.playing.cores());
  if (inShell.paused.measured)
    std::printf("  paused: %.2f%% of one core (target under 1%%; the reference paused: %.2f%%); after 10 s "
                "%.2f%% and %.1f MB (targets under 0.3%% and 80 MB)\n",
                inShell.paused.cores() * 100.0, reference.paused.cores() * 100.0, inShell.pausedLong.cores() * 100.0,
                inShell.pausedLong.residentMb);
  if (reference.playing.measured && listed.playing.measured)
    std::printf("  memory, program with 1,000 entries minus reference: %.1f MB, with 1 entry: %.1f MB "
                "(target under 40 MB)\n",
                listed.playing.peakMb - reference.playing.peakMb, inShell.playing.peakMb - reference.playing.peakMb);
}

void benchPresentation() {
  RECT screen{};
  ::GetWindowRect(::GetDesktopWindow(), &screen);
  constexpr double kFramesPerSecond = 30.0;
  std::printf("Each presentation path, the 1080p30 clip on a %ldx%ld screen, player top-level (CPU over %lld s)\n",
              screen.right - screen.left, screen.bottom - screen.top, static_cast<long long>(kWindow.count()));
  const struct {
    const char* name;
    const char* settings;
  } paths[] = {{"GDI (画面绘制=GDI)", "[程序设置]\r\n窗体显示=1\r\n播放音量=50\r\n画面绘制=GDI\r\n"},
               {"graphics card (画面绘制=显卡)", "[程序设置]\r\n窗体显示=1\r\n播放音量=50\r\n画面绘制=显卡\r\n"}};
  for (const auto& path : paths) {
    const Usage usage = program(1, false, kWindow, false, true, path.settings).playing;
    printUsage(path.name, usage);
    if (!usage.measured || usage.seconds <= 0) continue;
    const double frames = usage.seconds * kFramesPerSecond;
    const double engine = usage.cpu - usage.decodingCpu - usage.rendererThreads;
    std::printf("  %-44s per frame: decoding process %.2f ms, qova.exe without the renderer %.2f ms\n", "",
                usage.decodingCpu * 1000.0 / frames, engine * 1000.0 / frames);
    std::printf("  %-44s per frame: Mesa's renderer threads (the card's work under Wine) %.2f ms\n", "",
                usage.rendererThreads * 1000.0 / frames);
  }
}

void benchMonitors() {
  const int monitors = ::GetSystemMetrics(SM_CMONITORS);
  std::printf("Playback of the 1080p clip on %d monitors (%dx%d virtual screen), in the shell stand-in\n", monitors,
              ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
  if (monitors < 2) {
    std::printf("  one monitor only: run it as scripts/bench monitors, which makes a display of two\n");
    return;
  }
  const PlayerUsage primaryOnly = program(1, true, kWindow, false, false);
  printUsage("qova.exe, primary monitor only (setting 0)", primaryOnly.playing);
  const PlayerUsage every = program(1, true, kWindow, false);
  printUsage("qova.exe, every monitor", every.playing);
  if (primaryOnly.playing.cores() > 0)
    std::printf("  every monitor / primary only: CPU %.2fx, peak working set %+.1f MB\n",
                every.playing.cores() / primaryOnly.playing.cores(),
                every.playing.peakMb - primaryOnly.playing.peakMb);
}

}  // namespace qova::bench
