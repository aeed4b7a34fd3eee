#pragma once
// qova.exe started from a program folder of its own, beside the desktop-shell
// stand-in and the recording engine, with a library the test writes; what
// the engine was asked, and the keys and files that drive it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/Hotkeys.h"
#include "runtime/WholeFile.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {

inline std::string openCall(const std::string& path) { return "APlayer_OpenA(1," + path + ")"; }

class LibraryPlayback : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(shell.ready());
    first = program.makeVideoFile("第一.mp4");
    second = program.makeVideoFile("second.mp4");
    program.writeSettings("[程序设置]\r\n窗体显示=1\r\n");
  }

  // Writes the library with one record per video, in this order, and starts the program.
  void start(const std::vector<std::string>& videos) {
    std::vector<ProgramFolder::Entry> entries;
    for (const std::string& video : videos) entries.push_back({video, "t.jpg", "v"});
    program.writeLibrary(entries);
    ASSERT_TRUE(program.start().started());
    ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(")) << "nothing was opened";
  }
  void startWithAMissingVideo() {
    start({first, program.file("missing.mp4"), second});
  }

  // A file of the program folder holding `text`; its path.
  std::string makeFile(const std::string& name, const std::string& text) const {
    qova::writeWholeFile(program.file(name), text);
    return program.file(name);
  }
  // A file the recording engine cannot play, in the way `failure` names.
  std::string makeUnplayableFile(const std::string& name, const char* failure) const {
    return makeFile(name, failure);
  }
  // A file the stand-in engine plays for `milliseconds` and then ends, reporting nothing else.
  std::string makeTimedFile(const std::string& name, int milliseconds) const {
    return makeFile(name, kRecordingPlaysFor + std::to_string(milliseconds));
  }
  // Ctrl+Alt+F10, as the system reports it to the program's window.
  void pressPlayPause() {
    HWND window = qova::test::findProcessWindow(program.process().id(), "QovaMainWindow");
    ASSERT_NE(window, nullptr);
    ::PostMessageA(window, WM_HOTKEY, qova::kHotkeyPlayPause, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F10));
  }
  // The engine calls from line `from` on that open a file or end one that plays for its time.
  std::vector<std::string> opensAndEndsSince(size_t from) const {
    std::vector<std::string> lines;
    auto calls = program.engineCalls();
    for (size_t i = from; i < calls.size(); ++i)
      if (calls[i].rfind("APlayer_OpenA(", 0) == 0 || calls[i].rfind(kRecordingEndedLine, 0) == 0)
        lines.push_back(calls[i]);
    return lines;
  }
  std::string libraryText() const { return qova::readWholeFile(program.file("spconfiguration_file.ini")); }

  // The engine calls from line `from` on that open a file.
  std::vector<std::string> opensSince(size_t from) const {
    std::vector<std::string> opens;
    auto calls = program.engineCalls();
    for (size_t i = from; i < calls.size(); ++i)
      if (calls[i].rfind("APlayer_OpenA(", 0) == 0) opens.push_back(calls[i]);
    return opens;
  }

  ShellStandin shell;
  ProgramFolder program;
  std::string first, second;
};

}  // namespace qova::test
