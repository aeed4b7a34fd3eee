// Playback cost, cost while paused, and peak memory: qova.exe playing the
// 1080p clip against the bare reference player playing the same file.
#include "tests/bench/PlayerBenches.h"

#include <cstdio>
#include <optional>

#include "tests/bench/BenchSupport.h"
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
  double cores() const { return seconds > 0 ? cpu / seconds : 0.0; }
};

// CPU used by `process` over `window`, and its peak working set at the end.
Usage measure(HANDLE process, std::chrono::milliseconds window) {
  Usage usage;
  const double before = cpuSeconds(process);
  const Ticks start = now();
  idle(window);
  usage.cpu = cpuSeconds(process) - before;
  usage.seconds = milliseconds(start, now()) / 1000.0;
  usage.peakMb = peakWorkingSetMb(process);
  usage.measured = true;
  return usage;
}

void printUsage(const char* what, const Usage& usage) {
  if (!usage.measured) {
    std::printf("  %-44s not measured\n", what);
    return;
  }
  std::printf("  %-44s CPU %6.2f s over %5.1f s = %5.1f%% of one core, peak working set %6.1f MB\n", what,
              usage.cpu, usage.seconds, usage.cores() * 100.0, usage.peakMb);
}

Usage referencePlayer() {
  test::TempFolder folder("reference_player");
  const std::string log = folder.file("reference.log");
  test::TestProcess player(buildFile("bench\\reference_player.exe"),
                           "\"" + buildFile("media\\bench_1080p.mp4") + "\" \"" + log + "\"");
  if (!player.started() || !waitForLogLine(log, "playing", 60s)) return {};
  idle(kSettle);
  return measure(player.handle(), kWindow);
}

struct ProgramUsage {
  Usage playing;
  Usage paused;
};

// qova.exe with a library of `entries` records of the 1080p clip; inside the
// shell stand-in's layer when `inShell`, else with its player top-level.
ProgramUsage program(int entries, bool inShell, std::chrono::milliseconds window, bool alsoPaused) {
  std::optional<test::ShellStandin> shell;
  if (inShell) {
    shell.emplace();
    if (!shell->ready()) return {};
  }
  TimedProgram program;
  program.writeLibrary(std::vector<std::string>(static_cast<std::size_t>(entries),
                                                buildFile("media\\bench_1080p.mp4")),
                       entries > 1);
  test::TestProcess& process = program.folder().start();
  ProgramUsage usage;
  if (!process.started() || !waitForLogLine(program.timingLog(), "event 1 3", 90s)) return usage;
  idle(kSettle);
  usage.playing = measure(process.handle(), window);
  if (alsoPaused) {
    HWND mainWindow = test::findProcessWindow(process.id(), "QovaMainWindow");
    ::PostMessageA(mainWindow, WM_HOTKEY, 2, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F10));
    if (waitForLogLine(program.timingLog(), "pause", 10s)) {
      idle(kSettle);
      usage.paused = measure(process.handle(), kPausedWindow);
    }
  }
  return usage;
}

}  // namespace

void benchPlayback() {
  std::printf("Playback of the 1080p clip (CPU over %lld s of playback, from %lld s after it began)\n",
              static_cast<long long>(kWindow.count()), static_cast<long long>(kSettle.count()));
  const Usage reference = referencePlayer();
  printUsage("reference player (MFPlay, top-level window)", reference);
  const ProgramUsage inShell = program(1, true, kWindow, true);
  printUsage("qova.exe, 1 entry, in the shell stand-in", inShell.playing);
  const ProgramUsage topLevel = program(1, false, kWindow, false);
  printUsage("qova.exe, 1 entry, player top-level", topLevel.playing);
  printUsage("qova.exe paused (WM_HOTKEY 2), in the shell", inShell.paused);
  const ProgramUsage listed = program(1000, true, kMemoryPlay, false);
  printUsage("qova.exe, 1,000 entries, in the shell", listed.playing);

  if (reference.measured && reference.cpu > 0) {
    std::printf("  playback cost, program / reference: in the shell %.2fx, top-level %.2fx (target at most 1.10x)\n",
                inShell.playing.cpu / inShell.playing.seconds / reference.cores(),
                topLevel.playing.cpu / topLevel.playing.seconds / reference.cores());
  }
  if (inShell.paused.measured)
    std::printf("  paused: %.2f%% of one core (target under 1%%)\n", inShell.paused.cores() * 100.0);
  if (reference.measured && listed.playing.measured)
    std::printf("  memory, program with 1,000 entries minus reference: %.1f MB (target under 40 MB)\n",
                listed.playing.peakMb - reference.peakMb);
}

}  // namespace qova::bench
