#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "desktop/DesktopLayer.h"
#include "desktop/DesktopLayerWatch.h"
#include "desktop/WindowDescription.h"
#include "desktop/WindowInfo.h"
#include "tests/desktop/TestWindows.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/TestProcess.h"

namespace {

using qova::findDesktopWorkerW;
using qova::test::ShellLayout;
using qova::test::ShellStandin;
using qova::test::ShellStandinOptions;

// Top-level Z position (0 = topmost); -1 when not a top-level window.
int zPosition(HWND window) {
  std::vector<qova::WindowInfo> records;
  qova::enumTopLevelWindows(records);
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i].window == window) return static_cast<int>(i);
  return -1;
}

// The shells a lookup meets, as the stand-in plays them, and whether the
// lookup finds the shell's worker (the upper owned one) or nothing.
struct ShellCase {
  const char* name;
  ShellStandinOptions options;
  bool findsTheWorker;
};

void PrintTo(const ShellCase& c, std::ostream* out) { *out << c.name; }

const ShellCase kShells[] = {
    {"APlainShell", {}, true},
    {"AnUnownedWorkerAboveTheOwnedOne", {.decoy = true}, true},
    {"TwoOwnedWorkers", {.twoWorkers = true}, true},
    {"AShellThatIgnoresTheRequest", {.ignoreWorkerRequest = true}, false},
    {"Windows11_24H2WithNoTopLevelWorker", {.layout = ShellLayout::Win11_24H2}, false},
};

class FindDesktopWorkerWIn : public ::testing::TestWithParam<ShellCase> {};

TEST_P(FindDesktopWorkerWIn, AsksTheShellOnceAndFindsItsWorkerOrNothing) {
  const ShellCase& c = GetParam();
  ShellStandin shell(c.options);
  ASSERT_TRUE(shell.ready()) << shell.logText();
  const bool classic = c.options.layout == ShellLayout::Classic;
  if (classic) {
    ASSERT_EQ(shell.worker(), nullptr) << "the worker exists only once asked for";
  }

  const auto start = std::chrono::steady_clock::now();
  HWND found = findDesktopWorkerW();
  RecordProperty("lookup_ms", std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 std::chrono::steady_clock::now() - start)
                                                 .count()));
  if (classic) {
    EXPECT_EQ(shell.countLogLines("got-52c"), 1u) << shell.logText();
  }
  if (c.options.decoy) {
    ASSERT_NE(shell.decoy(), nullptr) << shell.logText();
    ASSERT_LT(zPosition(shell.decoy()), zPosition(shell.worker())) << qova::describeDesktopLayer();
  }
  if (c.options.twoWorkers) {
    ASSERT_NE(shell.lowerWorker(), nullptr) << shell.logText();
    ASSERT_EQ(::GetParent(shell.lowerWorker()), shell.progman());
    ASSERT_LT(zPosition(shell.worker()), zPosition(shell.lowerWorker())) << qova::describeDesktopLayer();
  }
  if (!c.findsTheWorker) {
    EXPECT_EQ(found, nullptr) << qova::describeDesktopLayer() << shell.logText();
    return;
  }
  ASSERT_NE(shell.worker(), nullptr) << shell.logText();
  EXPECT_EQ(found, shell.worker()) << qova::describeDesktopLayer() << shell.logText();
  EXPECT_EQ(::GetParent(found), shell.progman());
}

INSTANTIATE_TEST_SUITE_P(Shells, FindDesktopWorkerWIn, ::testing::ValuesIn(kShells),
                         [](const ::testing::TestParamInfo<ShellCase>& row) { return std::string(row.param.name); });

TEST(FindDesktopWorkerW, AsksOnEveryLookupAndKeepsFindingTheSameWorker) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  HWND first = findDesktopWorkerW();
  HWND second = findDesktopWorkerW();
  HWND third = findDesktopWorkerW();
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, first);
  EXPECT_EQ(third, first);
  EXPECT_EQ(shell.countLogLines("got-52c"), 3u) << shell.logText();
  EXPECT_EQ(shell.countLogLines("worker="), 1u) << shell.logText();
}

TEST(FindDesktopWorkerW, FindsNothingWithoutAShell) {
  EXPECT_EQ(findDesktopWorkerW(), nullptr) << qova::describeDesktopLayer();
}

TEST(FindDesktopWorkerW, WithoutAShellTakesAnUnownedWorker) {
  // No "Progman": its handle compares as null, like the parent of any unowned window.
  qova::test::TestWindowClass workerClass("WorkerW");
  auto unowned = qova::test::createTestWindow(workerClass, WS_POPUP, nullptr, {0, 0, 10, 10});
  ASSERT_TRUE(unowned);
  EXPECT_EQ(findDesktopWorkerW(), unowned.get());
}

TEST(FindDesktopWorkerW, ComparesTheClassNameExactly) {
  ShellStandin shell({.ignoreWorkerRequest = true});
  ASSERT_TRUE(shell.ready()) << shell.logText();
  {
    qova::test::TestWindowClass lowerCase("workerw");
    auto lookalike = qova::test::createTestWindow(lowerCase, WS_POPUP, shell.progman(), {0, 0, 10, 10});
    ASSERT_TRUE(lookalike);
    ASSERT_EQ(::GetParent(lookalike.get()), shell.progman());
    EXPECT_EQ(findDesktopWorkerW(), nullptr);
  }
  qova::test::TestWindowClass exact("WorkerW");
  auto owned = qova::test::createTestWindow(exact, WS_POPUP, shell.progman(), {0, 0, 10, 10});
  ASSERT_TRUE(owned);
  EXPECT_EQ(findDesktopWorkerW(), owned.get()) << "an owned worker of any process qualifies";
}

TEST(FindDesktopWorkerW, FindsTheNewWorkerAfterTheShellRestarts) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  HWND before = findDesktopWorkerW();
  ASSERT_EQ(before, shell.worker());
  ASSERT_NE(before, nullptr);

  shell.kill();
  EXPECT_EQ(findDesktopWorkerW(), nullptr) << qova::describeDesktopLayer();

  ASSERT_TRUE(shell.restart()) << shell.logText();
  HWND after = findDesktopWorkerW();
  EXPECT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_EQ(after, shell.worker()) << qova::describeDesktopLayer() << shell.logText();
}

// A thread with a message loop, as the program's window thread is, holding a
// watch; counts what the watch tells.
class WatchThread {
 public:
  explicit WatchThread(HWND layer) {
    thread_ = std::thread([this, layer] {
      HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
      {
        qova::DesktopLayerWatch watch(window, kTold);
        watch.watchLayer(layer);
        threadId_ = ::GetCurrentThreadId();
        MSG message{};
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
          if (message.message == kTold) ++told_;
          else ::DispatchMessageA(&message);
        }
      }
      ::DestroyWindow(window);
    });
    qova::test::waitUntil([this] { return threadId_ != 0; });
  }
  ~WatchThread() {
    ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  int told() const { return told_; }

 private:
  static constexpr UINT kTold = WM_APP + 7;
  std::atomic<int> told_{0};
  std::atomic<DWORD> threadId_{0};
  std::thread thread_;
};

TEST(DesktopLayerWatch, TellsWhenTheShellEndsAndWhenItComesBack) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  WatchThread watch(findDesktopWorkerW());
  qova::test::pumpMessagesFor(std::chrono::milliseconds(300));
  EXPECT_EQ(watch.told(), 0) << "nothing changed yet";

  shell.kill();
  EXPECT_TRUE(qova::test::waitUntil([&] { return watch.told() == 1; }, std::chrono::seconds(5)))
      << "the shell's end went unnoticed";
  ASSERT_TRUE(shell.restart()) << shell.logText();
  EXPECT_TRUE(qova::test::waitUntil([&] { return watch.told() >= 2; }, std::chrono::seconds(5)))
      << "the new \"Progman\" went unnoticed";
}

}  // namespace
