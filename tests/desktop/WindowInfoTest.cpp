#include "desktop/WindowInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/desktop/TestWindows.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/WindowSearch.h"

namespace {

using qova::WindowInfo;
using qova::test::ShellStandin;

const WindowInfo* recordOf(const std::vector<WindowInfo>& records, HWND window) {
  auto found = std::find_if(records.begin(), records.end(),
                            [window](const WindowInfo& r) { return r.window == window; });
  return found == records.end() ? nullptr : &*found;
}

std::ptrdiff_t positionOf(const std::vector<WindowInfo>& records, HWND window) {
  const WindowInfo* record = recordOf(records, window);
  return record ? record - records.data() : -1;
}

TEST(EnumTopLevelWindows, RecordsOwnerTitleAndClassOfAnotherProcessWindow) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();

  std::vector<WindowInfo> records;
  qova::enumTopLevelWindows(records);

  const WindowInfo* progman = recordOf(records, shell.progman());
  ASSERT_NE(progman, nullptr);
  EXPECT_EQ(progman->className, "Progman");
  EXPECT_EQ(progman->title, "Program Manager");
  EXPECT_EQ(progman->processId, shell.processId());
  EXPECT_NE(progman->threadId, 0u);
  EXPECT_NE(progman->threadId, ::GetCurrentThreadId());
}

TEST(EnumTopLevelWindows, CoversEveryTopLevelWindowInZOrderAndAppends) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  ASSERT_NE(shell.requestWorker(), nullptr) << shell.logText();

  std::vector<WindowInfo> records(1);  // what the caller had stays
  qova::enumTopLevelWindows(records);
  ASSERT_GT(records.size(), 1u);
  EXPECT_EQ(records.front().window, nullptr);
  records.erase(records.begin());

  std::vector<HWND> enumerated;
  for (const WindowInfo& r : records) enumerated.push_back(r.window);
  EXPECT_EQ(enumerated, qova::test::childWindows(nullptr));
  // The stand-in stacks icons above worker above "Progman".
  EXPECT_LT(positionOf(records, shell.icons()), positionOf(records, shell.worker()));
  EXPECT_LT(positionOf(records, shell.worker()), positionOf(records, shell.progman()));
}

TEST(EnumTopLevelWindows, KeepsAnsiTitlesWholeAndCutsClassNamesAt49Characters) {
  const std::string longClass(60, 'C');
  qova::test::TestWindowClass windowClass(longClass);
  // GBK bytes: the program is an ANSI program for code page 936.
  const std::string chineseTitle = "动态壁纸 测试窗口";
  const std::string longTitle(700, 't');
  auto chinese = qova::test::createTestWindow(windowClass, WS_POPUP, nullptr, {0, 0, 10, 10},
                                              chineseTitle.c_str());
  auto untitled = qova::test::createTestWindow(windowClass, WS_POPUP, nullptr, {0, 0, 10, 10});
  auto verbose = qova::test::createTestWindow(windowClass, WS_POPUP, nullptr, {0, 0, 10, 10},
                                              longTitle.c_str());
  ASSERT_TRUE(chinese && untitled && verbose);

  std::vector<WindowInfo> records;
  qova::enumTopLevelWindows(records);
  for (HWND w : {chinese.get(), untitled.get(), verbose.get()}) {
    const WindowInfo* record = recordOf(records, w);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->className, longClass.substr(0, 49));
    EXPECT_EQ(record->processId, ::GetCurrentProcessId());
    EXPECT_EQ(record->threadId, ::GetCurrentThreadId());
  }
  EXPECT_EQ(recordOf(records, chinese.get())->title, chineseTitle);
  EXPECT_EQ(recordOf(records, untitled.get())->title, "");
  EXPECT_EQ(recordOf(records, verbose.get())->title, longTitle);
}

// A thread of ours that made a window and then stopped reading its messages,
// as a media renderer's thread can.
struct UnresponsiveWindowThread {
  HWND window = nullptr;
  HANDLE created = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = nullptr;

  UnresponsiveWindowThread() {
    thread = ::CreateThread(nullptr, 0, &UnresponsiveWindowThread::run, this, 0, nullptr);
    ::WaitForSingleObject(created, 5000);
  }
  ~UnresponsiveWindowThread() {
    ::SetEvent(release);
    ::WaitForSingleObject(thread, 5000);
    for (HANDLE h : {thread, created, release}) ::CloseHandle(h);
  }
  static DWORD WINAPI run(void* self) {
    auto* owner = static_cast<UnresponsiveWindowThread*>(self);
    owner->window = ::CreateWindowExA(0, "STATIC", "stuck", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, nullptr, nullptr);
    ::SetEvent(owner->created);
    ::WaitForSingleObject(owner->release, INFINITE);  // no message is read meanwhile
    ::DestroyWindow(owner->window);
    return 0;
  }
};

TEST(EnumTopLevelWindows, AWindowWhoseThreadStoppedAnsweringDoesNotStallTheSearch) {
  UnresponsiveWindowThread stuck;
  ASSERT_NE(stuck.window, nullptr);
  std::vector<WindowInfo> records;
  const ULONGLONG started = ::GetTickCount64();
  qova::enumTopLevelWindows(records);
  EXPECT_LT(::GetTickCount64() - started, 5000u) << "the search waited for the stuck thread";
  const WindowInfo* record = recordOf(records, stuck.window);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->title, "stuck");
}

TEST(WindowQueries, AnswerForAnotherProcessWindow) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  EXPECT_EQ(qova::windowProcessId(shell.progman()), shell.processId());
  EXPECT_NE(qova::windowThreadId(shell.progman()), 0u);
  EXPECT_EQ(qova::windowTitle(shell.progman()), "Program Manager");
  EXPECT_EQ(qova::windowClassName(shell.progman()), "Progman");
  EXPECT_EQ(qova::windowClassName(shell.defView()), "SHELLDLL_DefView");
}

TEST(WindowQueries, GiveEmptyResultsForWhatIsNotAWindow) {
  for (HWND bogus : {static_cast<HWND>(nullptr), reinterpret_cast<HWND>(0x7ffe1234)}) {
    EXPECT_EQ(qova::windowProcessId(bogus), 0u);
    EXPECT_EQ(qova::windowThreadId(bogus), 0u);
    EXPECT_EQ(qova::windowTitle(bogus), "");
    EXPECT_EQ(qova::windowClassName(bogus), "");
  }
}

}  // namespace
