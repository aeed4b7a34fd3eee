#pragma once
// A program folder of its own for a whole-program test: qova.exe and the DLLs
// a test chooses, copied from the build, plus the settings and library files
// the test writes. The program is started from there and killed at the end.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace qova::test {

enum class EngineChoice { Recording, Real, None };

class ProgramFolder {
 public:
  explicit ProgramFolder(EngineChoice engine = EngineChoice::Recording);

  const std::string& path() const { return folder_.path(); }
  std::string file(const std::string& name) const { return folder_.file(name); }

  // Writes the library file with one record per (video path, thumbnail, name).
  struct Entry { std::string video, thumbnail, name; };
  void writeLibrary(const std::vector<Entry>& entries) const;
  // Creates a small file standing for a video (the program only checks that it exists).
  std::string makeVideoFile(const std::string& name) const;
  void writeSettings(const std::string& text) const;
  // Copies a file of the build's bin/ folder (a DLL, a sample clip) into the
  // program folder, under `as` when given; false when that fails.
  bool copyFromBuild(const std::string& name, const std::string& as = {}) const;
  // The first dialog window (class "#32770") of the running program; null when none shows in time.
  HWND waitForDialog(std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

  // Starts qova.exe; the process (check started()).
  TestProcess& start();
  TestProcess& process() { return process_; }

  // Lines the recording engine wrote so far ("APlayer_OpenA(1,C:\...)").
  std::vector<std::string> engineCalls() const;
  // Waits until the recording engine logged a line beginning with `prefix`
  // after line `firstLine`; false when none came in time.
  bool waitForEngineCall(const std::string& prefix, std::size_t firstLine = 0,
                         std::chrono::milliseconds timeout = std::chrono::seconds(15)) const;
  // The recording engine's window in the running program; null when there is none.
  HWND engineWindow() const;
  // Has the recording engine inside the program call its handler 2, as an
  // engine does: posted once the program's window thread is back in its
  // message loop (an open in progress has returned). Returns before it is handled.
  void fireEngineEvent(int code, int parameter) const;

 private:
  TempFolder folder_{"qova_program"};
  TestProcess process_;
};

}  // namespace qova::test
