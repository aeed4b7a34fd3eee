#pragma once
// Runs the desktop-shell stand-in (bin/fixtures/shell_standin.exe) for a test.
//
// Wine has no "Progman" and no "WorkerW"; the stand-in plays the shell's part:
// a screen-sized top-level "Progman" / "Program Manager" painted in
// kWallpaperColour that answers message 0x52C by creating the background
// worker, laid out as a chosen Windows version does it:
//
//   Classic (Windows 10 to 11 23H2), after 0x52C, top of the Z order first:
//     "WorkerW" (unowned)  > "SHELLDLL_DefView"          icons()
//     "WorkerW" (unowned, --decoy only)                   decoy()
//     "WorkerW" (WS_POPUP owned by "Progman")             worker()
//     "WorkerW" (owned, --two-workers only)               lowerWorker()
//     "Progman"                                           progman()
//   Before 0x52C (or with ignoreWorkerRequest) "SHELLDLL_DefView" is a child of "Progman".
//
//   Win11_24H2, from the start (0x52C is answered and changes nothing):
//     "Progman" > "SHELLDLL_DefView" (top child), "WorkerW" (child just below)
//     worker() is the child "WorkerW", icons() is "Progman".
//
// All of these windows sit below every other program's windows. The stand-in
// is killed when the ShellStandin object dies, and ends by itself when the
// test program does; kill() and restart() model a shell crash and restart
// (new windows, new handles). Options, log and behaviour in detail:
// tests/fixtures/shell_standin/README.md. A test using this names
// shell_standin in its DEPENDS.
//
// Its log (log(), one event per line, handles in lowercase hex without a prefix, see hex()):
//   "ready progman=<h> defview=<h> pid=<n> layout=classic|24h2"   the windows exist
//   "got-52c"                                   every 0x52C received (also when ignored)
//   "decoy=<h>", "lower-worker=<h>"              extra workers (written before the worker line)
//   "worker=<h> icons=<h> defview=<h>"          workers created; <h> is the worker a correct
//                                               search must find (the upper one of two)
//   "show <h> 0|1"                              a "WorkerW"'s visibility changed (one line
//                                               per change, whoever caused it)
//   "child-created <h> parent=<h>"              a window of another process became a direct
//   "child-destroyed <h> parent=<h>"            child of "Progman" or of a "WorkerW" / stopped
//                                               being one (seen within about 100 ms)
//   "zorder <h> ...", "progman-children <h> ..."  its own windows in Z order, top first,
//                                               after start-up and after creating workers
//   "quit"                                      WM_CLOSE arrived at "Progman"
// Lines appear in the order the events happened; a handler that sends 0x52C
// synchronously (SendMessageTimeout) finds the worker line written when it returns.
#include <windows.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace qova::test {

enum class ShellLayout { Classic, Win11_24H2 };

struct ShellStandinOptions {
  ShellLayout layout = ShellLayout::Classic;
  bool ignoreWorkerRequest = false;  // "--ignore-52c": answers 0x52C at once, never makes a worker
  bool decoy = false;                // "--decoy": an unowned "WorkerW" above the owned one
  bool twoWorkers = false;           // "--two-workers": two owned workers, see lowerWorker()
  std::chrono::milliseconds readyTimeout = std::chrono::seconds(30);
};

class ShellStandin {
 public:
  // What "Progman" and the workers paint, for tests that look at the screen.
  static constexpr COLORREF kWallpaperColour = RGB(0x3A, 0x6E, 0xA5);

  // Starts the stand-in and waits until its windows exist; check ready().
  explicit ShellStandin(ShellStandinOptions options = {});
  ShellStandin(const ShellStandin&) = delete;
  ShellStandin& operator=(const ShellStandin&) = delete;
  ~ShellStandin();  // kills it

  // True when the stand-in runs and has reported its windows.
  bool ready() const;
  DWORD processId() const { return process_.id(); }

  // Windows of the current run, read from its log; null when not (yet) there.
  HWND progman() const;
  HWND defView() const;
  HWND worker() const;
  HWND icons() const;
  HWND decoy() const;
  HWND lowerWorker() const;

  // Sends 0x52C to "Progman" as a wallpaper program would; the worker then, or null.
  HWND requestWorker() const;

  // Lines of the current run's log; empty when there is none.
  std::vector<std::string> log() const;
  // Lines from index `firstLine` on (take logLineCount() before an action to see what it caused).
  std::vector<std::string> logSince(std::size_t firstLine) const;
  std::size_t logLineCount() const { return log().size(); }
  // True when some line equals `line` exactly.
  bool hasLogLine(std::string_view line) const;
  // Number of lines that begin with `prefix`.
  std::size_t countLogLines(std::string_view prefix) const;
  // Waits (running this thread's messages) until a line from `firstLine` on
  // begins with `prefix`; false when none came in time.
  bool waitForLogLine(std::string_view prefix,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10),
                      std::size_t firstLine = 0) const;
  // The whole log as one text, for assertion messages (with the reason when
  // the stand-in could not be started or did not get ready).
  std::string logText() const;
  const std::string& logPath() const { return logPath_; }

  // Ends it abruptly, like a crashing shell, and waits until its windows are gone.
  void kill();
  // Closes "Progman" with WM_CLOSE; true when it then exited with code 0 in time.
  bool quit(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Kills it if it runs and starts a new one with the same options; the new one's ready().
  bool restart();

  // A handle as the log writes it.
  static std::string hex(HWND window);
  // Where the stand-in's executable was found (beside the test program or in
  // its "fixtures" folder, or one folder up); empty when it was not found.
  static std::string executablePath();

 private:
  bool start();
  HWND handleFromLog(std::string_view linePrefix, std::string_view key) const;

  ShellStandinOptions options_;
  TempFolder folder_{"shell_standin"};
  std::string logPath_;
  std::string startProblem_;
  int runs_ = 0;
  TestProcess process_;
};

}  // namespace qova::test
