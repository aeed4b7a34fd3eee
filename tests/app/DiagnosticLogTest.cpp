// The diagnostic log and the crash reports of qova.exe, started from a
// program folder of its own beside the desktop-shell stand-in and the
// recording engine: what "logs\qova.log" says, that a folder the log cannot
// use changes nothing else, and what a crash leaves.
#include <gtest/gtest.h>
#include <windows.h>
#include <wtsapi32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "outside/aplayer/APlayerContract.h"
#include "tests/app/LibraryPlaybackFixture.h"

namespace {

using namespace std::chrono_literals;
using qova::test::LibraryPlayback;
using qova::test::ShellStandin;
using qova::test::waitUntil;

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The files of `folder` whose names match `pattern` ("crash-*.dmp").
std::vector<std::string> filesMatching(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(folder + "\\" + found.cFileName);
  while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

class DiagnosticLog : public LibraryPlayback {
 protected:
  void SetUp() override {
    LibraryPlayback::SetUp();
    program.writeSettings("[程序设置]\r\n窗体显示=1\r\n播放音量=loud\r\n画面填充=奇怪\r\n");
  }

  std::string logFolder() const { return program.file("logs"); }
  std::string logText() const { return qova::readWholeFile(program.file("logs\\qova.log")); }
  // Waits until the log holds `part` `count` times.
  bool waitForLog(const std::string& part, std::size_t count = 1) const {
    return waitUntil([&] { return countOf(logText(), part) >= count; }, 20s);
  }
  HWND mainWindow() { return qova::test::findProcessWindow(program.process().id(), "QovaMainWindow"); }
};

TEST_F(DiagnosticLog, EachEventIsLoggedOnceWithItsReason) {
  makeFile("aplayer_config_5.txt", "gdi");
  makeFile("aplayer_config_6.txt", "decoding process started\nfile x: 0xC00D36C4 not supported\n");
  const std::string refused = makeUnplayableFile("refused.mp4", kRecordingCannotOpen);
  const std::string unplayable = makeUnplayableFile("unplayable.mp4", kRecordingCannotPlay);
  start({first, refused, unplayable, second});
  ASSERT_TRUE(waitForLog("open entry 1 " + first + ": ok")) << logText();
  ASSERT_TRUE(waitForLog("presentation path: gdi")) << logText();
  {
    const std::string log = logText();
    EXPECT_EQ(countOf(log, "start: QOVA Wallpaper "), 1u) << log;
    EXPECT_NE(log.find(", Windows "), std::string::npos) << log;
    EXPECT_NE(log.find("monitor 1: (0,0)-("), std::string::npos) << log;
    EXPECT_NE(log.find(" DPI, primary"), std::string::npos) << log;
    EXPECT_NE(log.find("desktop layer: WorkerW "), std::string::npos) << log;
    EXPECT_EQ(countOf(log, "setting 播放音量 = \"loud\": refused, the player is given 80"), 1u) << log;
    EXPECT_EQ(countOf(log, "setting 画面填充 = \"奇怪\": refused, scaling 1"), 1u) << log;
    EXPECT_EQ(countOf(log, "setting 多显示器 = (absent): every monitor"), 1u) << log;
  }

  program.fireEngineEvent(kAPlayerEventDiagnostics, 0);
  ASSERT_TRUE(waitForLog("engine: file x: 0xC00D36C4 not supported")) << logText();
  EXPECT_EQ(countOf(logText(), "engine: decoding process started\r\n"), 1u);

  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(waitForLog("open entry 4 " + second + ": ok")) << logText();
  pressPlayPause();
  ASSERT_TRUE(waitForLog("pause cause begins: the user paused")) << logText();
  pressPlayPause();
  ASSERT_TRUE(waitForLog("pause cause ends: the user resumed")) << logText();
  ::PostMessageA(mainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  ASSERT_TRUE(waitForLog("pause cause begins: the session is locked")) << logText();
  ::PostMessageA(mainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  ASSERT_TRUE(waitForLog("pause cause ends: the session is locked")) << logText();

  shell.kill();
  ASSERT_TRUE(waitForLog("the shell's desktop layer is gone: waiting for the shell")) << logText();
  ASSERT_TRUE(shell.restart());
  ASSERT_TRUE(waitForLog("the shell's desktop layer is back: the players moved into WorkerW ")) << logText();

  const std::string log = logText();
  for (const std::string& once :
       {"open entry 2 " + refused + ": refused by the engine (-2)",
        "passing over entry 2 " + refused + ": the engine refused to open it",
        "open entry 3 " + unplayable + ": ok",
        "passing over entry 3 " + unplayable + ": the engine reported it unplayable (event 5)",
        std::string("presentation path: gdi"), std::string("pause cause begins: the user paused"),
        std::string("pause cause ends: the user resumed"), std::string("pause cause begins: the session is locked"),
        std::string("pause cause ends: the session is locked"),
        std::string("the shell's desktop layer is gone"), std::string("the shell's desktop layer is back")})
    EXPECT_EQ(countOf(log, once), 1u) << once << "\n" << log;
  EXPECT_EQ(countOf(log, "passing over"), 2u) << log;
}

// A "logs" that is a file: the log can neither make its folder nor write.
TEST_F(DiagnosticLog, AFolderTheLogCannotUseChangesNothingElse) {
  makeFile("logs", "not a folder");
  start({first, second});
  const std::size_t mark = program.engineCalls().size();
  program.fireEngineEvent(6, 0);
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(1," + second + ")", mark));
  EXPECT_TRUE(program.process().running());
  EXPECT_EQ(qova::readWholeFile(program.file("logs")), "not a folder");
}

TEST_F(DiagnosticLog, ACrashLeavesADumpAndTheLogsTailAndTheNextStartTellsTheUserOnce) {
  ::SetEnvironmentVariableA("QOVA_TEST_CRASH_AFTER_START", "1");
  start({first, second});
  ::SetEnvironmentVariableA("QOVA_TEST_CRASH_AFTER_START", nullptr);
  const std::size_t shellMark = shell.logLineCount();
  const auto exitCode = program.process().waitForExit(120s);
  ASSERT_TRUE(exitCode.has_value()) << "still running";
  EXPECT_EQ(*exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  // The desktop layer was refreshed on the way out: no frozen frame stays.
  const std::string worker = ShellStandin::hex(shell.worker());
  const auto since = shell.logSince(shellMark);
  const auto hidden = std::find(since.begin(), since.end(), "show " + worker + " 0");
  EXPECT_NE(hidden, since.end()) << "the worker was not refreshed\n" << shell.logText();
  EXPECT_NE(std::find(hidden, since.end(), "show " + worker + " 1"), since.end()) << shell.logText();

  const std::vector<std::string> tails = filesMatching(logFolder(), "crash-*.log");
  ASSERT_EQ(tails.size(), 1u);
  const std::string tail = qova::readWholeFile(tails[0]);
  EXPECT_NE(tail.find("open entry 1 " + first + ": ok"), std::string::npos) << tail;
  EXPECT_NE(tail.find("unhandled exception 0xC0000005"), std::string::npos) << tail;
  // The minidump, whole, is the report; one that took longer than the
  // program waits (Wine's dbghelp on a busy machine) is not left half
  // written, and the log's tail is the report instead.
  const std::vector<std::string> dumps = filesMatching(logFolder(), "crash-*.dmp");
  ASSERT_LE(dumps.size(), 1u);
  if (!dumps.empty()) {
    EXPECT_EQ(qova::readWholeFile(dumps[0]).rfind("MDMP", 0), 0u) << "not a minidump";
  }
  const std::string& report = dumps.empty() ? tails[0] : dumps[0];

  const std::string reportName = report.substr(report.find_last_of('\\') + 1);
  const std::string told = "the last run ended unexpectedly; the user is told of its report ";
  for (int run = 0; run < 2; ++run) {
    const std::size_t startedBefore = countOf(logText(), " started\r\n");
    ASSERT_TRUE(program.start().started());
    ASSERT_TRUE(waitForLog(" started\r\n", startedBefore + 1)) << logText();
    EXPECT_EQ(countOf(logText(), told), 1u) << "run " << run << "\n" << logText();
    EXPECT_NE(logText().find(reportName + "\r\n"), std::string::npos) << logText();
    program.process().kill();
  }
}

}  // namespace
