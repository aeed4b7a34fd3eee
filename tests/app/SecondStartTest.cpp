// qova.exe started again while it runs: from the same folder (the shortcut
// clicked twice, start with Windows while it runs), however the folder is
// spelled, the second start brings the running program's library window
// forward and ends; from another folder it is another installation and runs
// beside the first. A start that finds the folder's claim held by a program
// that is exiting, or by a process without our window, waits for it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "runtime/AnsiText.h"
#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"
#include "tests/app/RunningProgram.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"
#include "tests/support/FolderSpellings.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

class SecondStart : public RunningProgram {
 protected:
  // The player windows in the shell's layer.
  size_t playersInTheLayer() const { return childWindows(shell.worker()).size(); }
};

// The program folder's claim, taken by the test as any process of the session
// could take it: the named mutex of the folder's volume serial number and
// file index.
class HeldClaim {
 public:
  // Take: the claim must be free. Open: the running program holds it already.
  enum Mode { Take, Open };
  explicit HeldClaim(const std::string& folder, Mode mode = Take) {
    UniqueFile handle(::CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION identity{};
    EXPECT_TRUE(handle && ::GetFileInformationByHandle(handle.get(), &identity));
    char name[64] = {};
    std::snprintf(name, sizeof name, "Local\\QOVA Wallpaper %08lX %08lX%08lX", identity.dwVolumeSerialNumber,
                  identity.nFileIndexHigh, identity.nFileIndexLow);
    mutex_.reset(::CreateMutexA(nullptr, FALSE, name));
    EXPECT_TRUE(mutex_ && (::GetLastError() == ERROR_ALREADY_EXISTS) == (mode == Open)) << name;
    handlesOfOthers_ = mode == Open ? 1 : 0;
  }
  void release() { mutex_.reset(); }
  // Whether a process besides the holder has the mutex open: the starting program asks for it.
  bool askedFor() const {
    struct {
      ULONG attributes;
      ACCESS_MASK access;
      ULONG handleCount;
      ULONG rest[20];
    } basic{};
    using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    ULONG length = 0;
    return query && query(mutex_.get(), 0 /* ObjectBasicInformation */, &basic, sizeof basic, &length) >= 0 &&
           basic.handleCount > 1 + handlesOfOthers_;
  }

 private:
  UniqueHandle mutex_;
  ULONG handlesOfOthers_ = 0;
};

TEST_F(SecondStart, FromTheSameFolderShowsTheRunningLibraryWindowAndEndsWithCodeZero) {
  start();
  ASSERT_FALSE(popupVisible());
  ASSERT_EQ(playersInTheLayer(), 1u);
  const size_t engineMark = program.engineCalls().size();

  // Spelled in other letters' case, as a Run value or a shortcut may spell it.
  std::string path = program.file("qova.exe");
  std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
  TestProcess second(path, "");
  ASSERT_TRUE(second.started()) << path;
  const auto exitCode = second.waitForExit(15s);
  ASSERT_TRUE(exitCode.has_value()) << "the second start kept running";
  EXPECT_EQ(*exitCode, 0u);

  EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 5s)) << "the library window did not show";
  EXPECT_TRUE(program.process().running());
  EXPECT_EQ(playersInTheLayer(), 1u);
  EXPECT_TRUE(engineCallsSince(engineMark).empty()) << "the second start reached the engine";
}

TEST_F(SecondStart, ThroughAnotherNameOfTheSameFolderShowsTheRunningLibraryWindowAndEnds) {
  start();
  // A junction beside the folder: another path, the same folder.
  FolderLink junction(program.path(), program.path() + "_junction");
  ASSERT_TRUE(junction.made());
  TestProcess second(junction.path() + "\\qova.exe", "");
  ASSERT_TRUE(second.started());
  const auto exitCode = second.waitForExit(15s);
  ASSERT_TRUE(exitCode.has_value()) << "the second start kept running";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 5s)) << "the library window did not show";
  EXPECT_EQ(playersInTheLayer(), 1u);
}

TEST_F(SecondStart, WhileTheClaimIsHeldWithoutOurWindowWaitsAndStartsOnceItIsFree) {
  HeldClaim claim(program.path());
  ASSERT_TRUE(program.start().started());
  ASSERT_TRUE(waitUntil([&] { return claim.askedFor(); }, 20s)) << "the start never asked for the claim";
  claim.release();
  EXPECT_TRUE(program.waitForEngineCall("APlayer_OpenA(", 0, 30s)) << "the start did not go on";
  EXPECT_TRUE(waitUntil([&] { return findProcessWindow(program.process().id(), "QovaMainWindow") != nullptr; }, 20s));
}

TEST_F(SecondStart, ClaimHeldForTenSecondsIsToldInAMessage) {
  HeldClaim claim(program.path());
  ASSERT_TRUE(program.start().started());
  ASSERT_TRUE(waitUntil([&] { return claim.askedFor(); }, 20s)) << "the start never asked for the claim";
  HWND message = program.waitForDialog(40s);
  ASSERT_NE(message, nullptr) << "the start ended without a word";
  wchar_t caption[64] = {};
  ::GetWindowTextW(message, caption, 64);
  EXPECT_EQ(std::wstring(caption), qova::ansiToWide("QOVA_壁纸"));
  EXPECT_EQ(findProcessWindow(program.process().id(), "QovaMainWindow"), nullptr) << "it started anyway";
  EXPECT_TRUE(program.engineCalls().empty());
  ::PostMessageA(message, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(program.process().waitForExit(15s).has_value());
}

TEST_F(SecondStart, StartedWhileTheRunningCopyExitsStartsNormally) {
  start();
  TestProcess& first = program.process();
  // The running copy's player takes its time to go, so its exit lasts.
  const std::string slowDestroy = program.file(kRecordingSlowDestroyFile);
  ASSERT_TRUE(writeWholeFile(slowDestroy, ""));
  const size_t exitMark = program.engineCalls().size();
  ::PostMessageA(mainWindow, WM_HOTKEY, 1, 0);  // Ctrl+Alt+End
  ASSERT_TRUE(program.waitForEngineCall("APlayer_Destroy(", exitMark, 20s));
  HeldClaim claim(program.path(), HeldClaim::Open);
  TestProcess second(program.file("qova.exe"), "");
  ASSERT_TRUE(second.started());
  const bool asked = waitUntil([&] { return claim.askedFor(); }, 20s);
  claim.release();
  ::DeleteFileA(slowDestroy.c_str());
  ASSERT_TRUE(asked) << "the second start never asked for the claim";
  ASSERT_TRUE(first.waitForExit(30s).has_value());
  const size_t engineMark = program.engineCalls().size();
  EXPECT_TRUE(waitUntil([&] { return findProcessWindow(second.id(), "QovaMainWindow") != nullptr; }, 30s))
      << "the second start did not start";
  EXPECT_TRUE(program.waitForEngineCall("APlayer_OpenA(", engineMark, 30s));
  EXPECT_TRUE(second.running());
}

TEST_F(SecondStart, FromAnotherFolderIsAnotherInstallationAndRunsBesideTheFirst) {
  start();
  ProgramFolder other;
  other.writeLibrary({{other.makeVideoFile("other.mp4"), "", "other"}});
  ASSERT_TRUE(other.start().started());
  ASSERT_TRUE(other.waitForEngineCall("APlayer_OpenA(", 0, 30s)) << "the other copy did not start playing";
  EXPECT_TRUE(program.process().running());
  EXPECT_TRUE(other.process().running());
  EXPECT_TRUE(waitUntil([&] { return playersInTheLayer() == 2u; }, 10s));
}

}  // namespace
}  // namespace qova::test
