#pragma once
// The program's own start-up run inside this test program: MainWindow built
// from its layout, whose creation handler makes PopupWindow with its
// notification icon and menus, starts the wallpaper in the shell stand-in's
// worker, installs the window procedures and registers both hotkeys. Beside
// this test program (bin/appwin/) are the real ExuiKrnln.dll, the recording
// APlayerCaller.dll and the play button's skins and menu icons, as beside
// qova.exe; the library file is written there for each test.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "tests/support/ShellStandin.h"

namespace qova::test {

class ProgramInProcess : public ::testing::Test {
 protected:
  void SetUp() override;     // the stand-in ready, three entries with thumbnails of their own colour
  void TearDown() override;  // the wallpaper stopped, the program and everything it held gone

  // Runs the start-up sequence with these settings (none when empty).
  void start(const std::string& settings = {});

  // The recording engine's calls since the last mark(), but for questions
  // about its configuration (which presentation path a file that plays took).
  void mark();
  std::string callsSinceMark() const;
  // The end of the playing file, as the engine reports it: after the open
  // before it has returned, with what the program and the engine posted since handled.
  void endPlayingFile();
  // Handles every message this thread's queue holds now.
  static void runQueuedMessages();
  // One call as the recording engine writes it: name(engine,argument).
  std::string engineCall(const std::string& name, const std::string& argument = {}) const;

  // The library window as a left click on the notification icon shows it, kept on top for real input.
  void showLibraryWindow();
  HWND libraryList() const;
  // The middle of the list's 0-based item `index`, in screen coordinates.
  POINT libraryItemMiddle(int index) const;

  static bool settleUntil(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout = std::chrono::seconds(10));

  static constexpr uint32_t kThumbnailColours[3] = {0xFFD03030, 0xFF30B040, 0xFF3050D0};

  ShellStandin shell;
  std::unique_ptr<Program> program;
  std::vector<std::string> videos;
  std::vector<std::string> thumbnails;
  HWND mainWindow = nullptr;
  HWND libraryWindow = nullptr;

 private:
  size_t mark_ = 0;
};

// The recording engine's log in this process.
std::string recordingLog();
// Calls handler 2 of the recording engine in this process, as the engine would at an event.
void fireEngineEvent(int32_t code, int32_t parameter);

}  // namespace qova::test
