// The stand-in itself: the other desktop tests are only as good as its
// imitation of the shell's windows.
#include "tests/support/ShellStandin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/WindowDescription.h"
#include "tests/desktop/TestWindows.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace {

using qova::test::ShellLayout;
using qova::test::ShellStandin;

bool coversScreen(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  const RECT screen = qova::test::screenRect();
  return r.left == screen.left && r.top == screen.top && r.right == screen.right &&
         r.bottom == screen.bottom;
}

TEST(ShellStandin, ClassicDesktopMovesTheIconsAboveAnOwnedWorker) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  EXPECT_EQ(qova::test::classNameOf(shell.progman()), "Progman");
  EXPECT_EQ(qova::test::titleOf(shell.progman()), "Program Manager");
  EXPECT_TRUE(coversScreen(shell.progman()));
  EXPECT_EQ(::GetParent(shell.defView()), shell.progman());

  HWND worker = shell.requestWorker();
  ASSERT_NE(worker, nullptr) << shell.logText();
  EXPECT_EQ(qova::test::classNameOf(worker), "WorkerW");
  EXPECT_EQ(::GetWindow(worker, GW_OWNER), shell.progman());
  EXPECT_TRUE(::GetWindowLongA(worker, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(coversScreen(worker));
  EXPECT_TRUE(::IsWindowVisible(worker));
  EXPECT_EQ(qova::test::classNameOf(shell.icons()), "WorkerW");
  EXPECT_EQ(::GetWindow(shell.icons(), GW_OWNER), nullptr);
  EXPECT_EQ(::GetParent(shell.defView()), shell.icons());

  // icons, worker, "Progman", and "Progman" below every other window.
  const std::vector<HWND> topLevel = qova::test::childWindows(nullptr);
  const std::vector<HWND> expected = {shell.icons(), worker, shell.progman()};
  std::vector<HWND> seen;
  for (HWND w : topLevel)
    if (w == expected[0] || w == expected[1] || w == expected[2]) seen.push_back(w);
  EXPECT_EQ(seen, expected) << qova::describeDesktopLayer();
  for (HWND w = ::GetWindow(shell.progman(), GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
    EXPECT_FALSE(::IsWindowVisible(w)) << "below the desktop: " << qova::describeWindow(w);

  EXPECT_EQ(shell.requestWorker(), worker);
  EXPECT_EQ(shell.countLogLines("worker="), 1u) << "later requests create nothing";
}

TEST(ShellStandin, Win11DesktopKeepsIconsAndWorkerInsideProgman) {
  ShellStandin shell({.layout = ShellLayout::Win11_24H2});
  ASSERT_TRUE(shell.ready()) << shell.logText();
  HWND worker = shell.worker();
  ASSERT_NE(worker, nullptr) << shell.logText();
  EXPECT_EQ(qova::test::childWindows(shell.progman()), (std::vector<HWND>{shell.defView(), worker}));
  EXPECT_EQ(qova::test::classNameOf(worker), "WorkerW");
  EXPECT_TRUE(coversScreen(worker));
  EXPECT_EQ(shell.icons(), shell.progman());
  EXPECT_EQ(shell.requestWorker(), worker);
  EXPECT_EQ(shell.countLogLines("worker="), 1u);
  EXPECT_EQ(shell.countLogLines("got-52c"), 1u);
}

TEST(ShellStandin, ReportsEachVisibilityChangeOnce) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  HWND worker = shell.requestWorker();
  ASSERT_NE(worker, nullptr);
  const std::string workerHex = ShellStandin::hex(worker);
  const std::size_t mark = shell.logLineCount();
  ::ShowWindow(worker, SW_HIDE);
  ::ShowWindow(worker, SW_HIDE);
  ::ShowWindow(worker, SW_SHOWNORMAL);
  ASSERT_TRUE(shell.waitForLogLine("show " + workerHex + " 1", std::chrono::seconds(5), mark));
  EXPECT_EQ(shell.logSince(mark),
            (std::vector<std::string>{"show " + workerHex + " 0", "show " + workerHex + " 1"}));
}

TEST(ShellStandin, SignalsReadinessAndQuitsWhenProgmanIsClosed) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  const std::string name = "QovaShellStandinReady-" + std::to_string(shell.processId());
  qova::UniqueHandle ready(::OpenEventA(SYNCHRONIZE, FALSE, name.c_str()));
  ASSERT_TRUE(ready);
  EXPECT_EQ(::WaitForSingleObject(ready.get(), 0), WAIT_OBJECT_0);

  HWND progman = shell.progman();
  EXPECT_TRUE(shell.quit());
  EXPECT_FALSE(shell.ready());
  EXPECT_TRUE(shell.hasLogLine("quit"));
  EXPECT_TRUE(qova::test::waitUntil([&] { return !::IsWindow(progman); }));
}

TEST(ShellStandin, EndsWithTheProcessItWatches) {
  ShellStandin watched({.ignoreWorkerRequest = true});
  ASSERT_TRUE(watched.ready()) << watched.logText();
  qova::test::TestProcess standin(ShellStandin::executablePath(),
                                  "--exit-with=" + std::to_string(watched.processId()));
  ASSERT_TRUE(standin.started());
  EXPECT_FALSE(standin.waitForExit(std::chrono::milliseconds(300)));
  watched.kill();
  EXPECT_EQ(standin.waitForExit(std::chrono::seconds(10)), 0u);
}

TEST(ShellStandin, RefusesUnknownOptions) {
  const std::string exe = ShellStandin::executablePath();
  ASSERT_FALSE(exe.empty());
  qova::test::TestProcess standin(exe, "--layout=win95");
  ASSERT_TRUE(standin.started());
  EXPECT_EQ(standin.waitForExit(std::chrono::seconds(10)), 2u);
}

}  // namespace
