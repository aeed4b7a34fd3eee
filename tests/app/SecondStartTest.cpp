// qova.exe started again while it runs: from the same folder (the shortcut
// clicked twice, start with Windows while it runs), however the folder is
// spelled, the second start brings the running program's library window
// forward and ends; from another folder it is another installation and runs
// beside the first. A start that finds the folder's claim held by a program
// that is exiting, or by a process without our window, waits for it. Started
// with paths ("Open with", "Send to", the command line), it hands them to the
// running program, which adds them in the background with the real
// frame-capture library while its window thread keeps answering.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"
#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"
#include "tests/shell/DialogDriver.h"
#include "tests/support/WindowThreadWatch.h"

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

// A folder as people fill one: 60 short clips named "clip 1" to "clip 60",
// the last ten in a sub-folder, three of them broken (one of those held open
// by another program), one already in the library, and a text file.
class SecondStartWithPaths : public SecondStart {
 protected:
  void SetUp() override {
    SecondStart::SetUp();
    ASSERT_TRUE(program.copyFromBuild("screenshot.dll"));
    clips = program.file("片段");
    ASSERT_TRUE(::CreateDirectoryA(clips.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((clips + "\\更多").c_str(), nullptr));
    for (int i = 1; i <= 60; ++i) {
      const std::string name = (i > 50 ? "更多\\clip " : "clip ") + std::to_string(i) + ".mp4";
      if (i == 7 || i == 23 || i == 41)
        ASSERT_TRUE(writeWholeFile(clips + "\\" + name, "no video at all, though its name says so"));
      else
        ASSERT_TRUE(program.copyFromBuild("media\\clip_testsrc.mp4", "片段\\" + name));
      if (i != 15 && i != 41) expected.push_back(clips + "\\" + name);
    }
    listed = clips + "\\clip 15.mp4";
    locked = clips + "\\clip 41.mp4";
    textFile = clips + "\\说明.txt";
    ASSERT_TRUE(writeWholeFile(textFile, "notes"));
    program.writeLibrary({{videos[0], "", "海边"}, {videos[1], "", "城市"}, {videos[2], "", "雪山"}, {listed, "", "clip 15"}});
    held.reset(::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
  }

  // The library file read the way a bystander should (an editor, a virus
  // scanner): sharing it with every kind of access, so that the program's
  // replacing it never fails for the test's look.
  std::string libraryBytes() const {
    UniqueFile file(::CreateFileA(program.file("spconfiguration_file.ini").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
  }

  // Starts qova.exe again with the folder; its exit code.
  std::optional<DWORD> secondStartWithTheFolder() {
    TestProcess second(program.file("qova.exe"), "\"" + clips + "\"");
    if (!second.started()) return std::nullopt;
    return second.waitForExit(30s);
  }

  // The summary, once it shows; its box in *box.
  std::string summary(HWND* box) {
    std::string text;
    waitUntil([&] {
      text = waitForMessageBoxText(program.process().id(), box);
      return text.rfind("已添加", 0) == 0;
    }, 300s);
    return text;
  }

  // The records after the four the library started with: each an expected
  // clip, in order, named by its file's name, with a thumbnail of its own
  // in the program's "thumbs" folder.
  void expectAddedRecords(const std::vector<FoundRecord>& records, size_t count) const {
    ASSERT_EQ(records.size(), 4 + count);
    for (size_t i = 0; i < count; ++i) {
      const FoundRecord& record = records[4 + i];
      EXPECT_EQ(record.videoPath, expected[i]);
      const std::string file = expected[i].substr(expected[i].find_last_of('\\') + 1);
      EXPECT_EQ(record.name, file.substr(0, file.size() - 4));
      EXPECT_EQ(record.thumbnailPath.rfind(program.file("thumbs\\"), 0), 0u) << record.thumbnailPath;
      EXPECT_NE(::GetFileAttributesA(record.thumbnailPath.c_str()), INVALID_FILE_ATTRIBUTES) << record.thumbnailPath;
    }
  }

  // Every look at the file while the adding went on found whole records: the
  // final file's bytes up to the end of one of its records.
  static void expectWholeRecordsAtEachLook(const std::vector<std::string>& looks, const std::string& final) {
    for (const std::string& look : looks) {
      if (look.empty()) continue;  // the file was being replaced at that moment
      ASSERT_EQ(final.compare(0, look.size(), look), 0) << look;
      EXPECT_TRUE(look.size() == final.size() || final.compare(look.size(), 8, "视频文件") == 0) << look;
    }
  }

  std::string clips, listed, locked, textFile;
  std::vector<std::string> expected;
  UniqueFile held;
};

TEST_F(SecondStartWithPaths, AFolderIsAddedInNameOrderWithOneSummaryWhileTheWindowKeepsAnswering) {
  start();
  WindowThreadWatch watch(popupWindow);
  const auto exitCode = secondStartWithTheFolder();
  ASSERT_TRUE(exitCode.has_value()) << "the second start kept running";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_TRUE(waitUntil([&] { return popupVisible(); }, 10s)) << "the library window did not show";

  std::vector<std::string> looks;
  HWND box = nullptr;
  waitUntil([&] {
    looks.push_back(libraryBytes());
    box = findProcessWindow(program.process().id(), "#32770");
    return box != nullptr && ::IsWindowVisible(box);
  }, 300s);
  watch.stop();
  const std::string text = summary(&box);
  ASSERT_NE(box, nullptr) << "no summary";
  pressButton(box, IDOK);

  EXPECT_NE(text.find("已添加 58 个视频。"), std::string::npos) << text;
  EXPECT_NE(text.find("没有添加 3 个文件"), std::string::npos) << text;
  EXPECT_NE(text.find("已在视频库中：1\r\n  " + listed), std::string::npos) << text;
  EXPECT_NE(text.find("不是视频文件：1\r\n  " + textFile), std::string::npos) << text;
  EXPECT_NE(text.find("无法读取：1\r\n  " + locked), std::string::npos) << text;

  const std::string final = libraryBytes();
  expectAddedRecords(recordsIn(final), 58);
  expectWholeRecordsAtEachLook(looks, final);
  // The latency itself is the benchmark's (under 100 ms on a machine of its own); here the
  // window thread must only never have been held by the add, which takes tens of seconds.
  RecordProperty("longest_round_trip_ms", static_cast<int>(watch.longest().count()));
  RecordProperty("round_trips", watch.trips());
  EXPECT_LT(watch.longest(), 5s) << "the window thread was held";
}

TEST_F(SecondStartWithPaths, ACancelHalfwayKeepsWhatWasAddedAndTheFileStaysWhole) {
  start();
  ASSERT_EQ(secondStartWithTheFolder(), std::optional<DWORD>(0));
  ASSERT_TRUE(waitUntil([&] { return recordsIn(libraryBytes()).size() >= 4 + 10; }, 120s));
  HWND cancel = ::GetDlgItem(popupWindow, 0x5A01);
  ASSERT_NE(cancel, nullptr);
  EXPECT_TRUE(::IsWindowVisible(cancel));
  EXPECT_EQ(titleOf(cancel), "取消");
  const std::string progress = titleOf(::GetDlgItem(popupWindow, 0x5A00));
  EXPECT_TRUE(std::regex_match(progress, std::regex("正在添加 [0-9]+/61"))) << progress;
  ::PostMessageA(cancel, BM_CLICK, 0, 0);

  HWND box = nullptr;
  const std::string text = summary(&box);
  ASSERT_NE(box, nullptr) << "no summary";
  pressButton(box, IDOK);
  std::smatch added;
  ASSERT_TRUE(std::regex_search(text, added, std::regex("已添加 ([0-9]+) 个视频"))) << text;
  const size_t count = std::stoul(added[1].str());
  EXPECT_GE(count, 10u);
  EXPECT_LT(count, 58u) << "the cancel came too late to show anything";

  const std::string final = libraryBytes();
  const std::vector<FoundRecord> records = recordsIn(final);
  expectAddedRecords(records, count);
  EXPECT_EQ(final.size(), [&] {
    size_t size = 0;
    for (const FoundRecord& record : records) size += libraryRecord(record.videoPath, record.thumbnailPath, record.name).size();
    return size;
  }()) << "nothing but whole records";
  // A thumbnail made for a video the cancel left out went with it.
  size_t pictures = 0;
  WIN32_FIND_DATAA found{};
  const HANDLE find = ::FindFirstFileA(program.file("thumbs\\*.jpg").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do ++pictures; while (::FindNextFileA(find, &found));
    ::FindClose(find);
  }
  EXPECT_EQ(pictures, count);
  EXPECT_TRUE(waitUntil([&] { return !::IsWindowVisible(cancel); }, 5s)) << "the progress stayed";
}

TEST(FirstStartWithPaths, WithAnEmptyLibraryAddsThemInsteadOfAskingAndPlaysTheFirst) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready());
  ProgramFolder program;
  ASSERT_TRUE(program.copyFromBuild("screenshot.dll"));
  ASSERT_TRUE(::CreateDirectoryA(program.file("clips").c_str(), nullptr));
  for (const char* name : {"b.mp4", "a.mp4"}) ASSERT_TRUE(program.copyFromBuild("media\\clip_testsrc.mp4", std::string("clips\\") + name));
  TestProcess first(program.file("qova.exe"), "\"" + program.file("clips") + "\"");
  ASSERT_TRUE(first.started());
  HWND box = nullptr;
  const std::string text = waitForMessageBoxText(first.id(), &box);
  ASSERT_EQ(text, "已添加 2 个视频。") << "no question for a first video, the summary of the add";
  pressButton(box, IDOK);
  EXPECT_TRUE(program.waitForEngineCall("APlayer_OpenA(1," + program.file("clips\\a.mp4") + ")", 0, 30s));
  const std::vector<FoundRecord> records = recordsIn(readWholeFile(program.file("spconfiguration_file.ini")));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].videoPath, program.file("clips\\a.mp4"));
  EXPECT_EQ(records[1].videoPath, program.file("clips\\b.mp4"));
  EXPECT_TRUE(first.running());
}

}  // namespace
}  // namespace qova::test
