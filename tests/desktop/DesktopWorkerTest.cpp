#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "desktop/DesktopLayer.h"
#include "desktop/WindowDescription.h"
#include "desktop/WindowInfo.h"
#include "tests/desktop/TestWindows.h"
#include "tests/support/ShellStandin.h"

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

TEST(FindDesktopWorkerW, AsksTheShellForTheWorkerAndFindsIt) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  ASSERT_EQ(shell.worker(), nullptr) << "the worker exists only once asked for";

  HWND found = findDesktopWorkerW();
  ASSERT_NE(shell.worker(), nullptr) << shell.logText();
  EXPECT_EQ(found, shell.worker()) << qova::describeDesktopLayer() << shell.logText();
  EXPECT_EQ(::GetParent(found), shell.progman());
}

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

TEST(FindDesktopWorkerW, SkipsAnUnownedWorkerAboveTheOwnedOne) {
  ShellStandin shell({.decoy = true});
  ASSERT_TRUE(shell.ready()) << shell.logText();

  HWND found = findDesktopWorkerW();
  ASSERT_NE(shell.decoy(), nullptr) << shell.logText();
  ASSERT_LT(zPosition(shell.decoy()), zPosition(shell.worker())) << qova::describeDesktopLayer();
  EXPECT_EQ(found, shell.worker()) << qova::describeDesktopLayer() << shell.logText();
}

TEST(FindDesktopWorkerW, TakesTheUpperOfTwoOwnedWorkers) {
  ShellStandin shell({.twoWorkers = true});
  ASSERT_TRUE(shell.ready()) << shell.logText();

  HWND found = findDesktopWorkerW();
  ASSERT_NE(shell.lowerWorker(), nullptr) << shell.logText();
  ASSERT_EQ(::GetParent(shell.lowerWorker()), shell.progman());
  ASSERT_LT(zPosition(shell.worker()), zPosition(shell.lowerWorker())) << qova::describeDesktopLayer();
  EXPECT_EQ(found, shell.worker()) << qova::describeDesktopLayer() << shell.logText();
}

TEST(FindDesktopWorkerW, FindsNothingWhenTheShellIgnoresTheRequest) {
  ShellStandin shell({.ignoreWorkerRequest = true});
  ASSERT_TRUE(shell.ready()) << shell.logText();

  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(findDesktopWorkerW(), nullptr) << qova::describeDesktopLayer();
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  std::printf("lookup with a shell that ignores 0x52C took %lld ms\n",
              static_cast<long long>(elapsed.count()));
  EXPECT_EQ(shell.countLogLines("got-52c"), 1u) << shell.logText();
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

TEST(FindDesktopWorkerW, FindsNoTopLevelWorkerOn24H2) {
  ShellStandin shell({.layout = ShellLayout::Win11_24H2});
  ASSERT_TRUE(shell.ready()) << shell.logText();
  ASSERT_NE(shell.worker(), nullptr) << shell.logText();
  EXPECT_EQ(findDesktopWorkerW(), nullptr) << qova::describeDesktopLayer();
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

}  // namespace
