#include <gtest/gtest.h>

#include "desktop/DesktopLayer.h"
#include "desktop/WindowDescription.h"
#include "tests/desktop/TestWindows.h"
#include "tests/support/ShellStandin.h"

namespace {

using qova::DesktopHost;
using qova::findDesktopHost;
using qova::test::createTestWindow;
using qova::test::ShellLayout;
using qova::test::ShellStandin;
using qova::test::TestWindowClass;

constexpr DWORD kPlayerStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(FindDesktopHost, IsTheTopLevelWorkerOnClassicDesktops) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  const DesktopHost host = findDesktopHost();
  ASSERT_NE(shell.worker(), nullptr) << shell.logText();
  EXPECT_EQ(host.parent, shell.worker()) << qova::describeDesktopLayer();
  EXPECT_EQ(host.insertAfter, nullptr);
}

TEST(FindDesktopHost, IsProgmanBelowTheIconViewOn24H2) {
  ShellStandin shell({.layout = ShellLayout::Win11_24H2});
  ASSERT_TRUE(shell.ready()) << shell.logText();
  const DesktopHost host = findDesktopHost();
  EXPECT_EQ(host.parent, shell.progman()) << qova::describeDesktopLayer();
  EXPECT_EQ(host.insertAfter, shell.defView());
}

TEST(FindDesktopHost, IsEmptyWithoutAWorker) {
  {
    const DesktopHost host = findDesktopHost();
    EXPECT_EQ(host.parent, nullptr) << "no shell at all";
    EXPECT_EQ(host.insertAfter, nullptr);
  }
  ShellStandin shell({.ignoreWorkerRequest = true});
  ASSERT_TRUE(shell.ready()) << shell.logText();
  const DesktopHost host = findDesktopHost();
  EXPECT_EQ(host.parent, nullptr) << qova::describeDesktopLayer();
  EXPECT_EQ(host.insertAfter, nullptr);
}

TEST(PlaceInDesktopHost, PutsThePlayerBetweenIconsAndWorkerOn24H2) {
  ShellStandin shell({.layout = ShellLayout::Win11_24H2});
  ASSERT_TRUE(shell.ready()) << shell.logText();
  const DesktopHost host = findDesktopHost();
  ASSERT_NE(host.insertAfter, nullptr) << qova::describeDesktopLayer();

  TestWindowClass playerClass("QovaTestPlayer");
  auto player = createTestWindow(playerClass, kPlayerStyle, host.parent, qova::test::screenRect());
  ASSERT_TRUE(player);
  ASSERT_EQ(::GetWindow(shell.worker(), GW_HWNDNEXT), player.get())
      << "a new child starts at the bottom, under the worker\n" << qova::describeDesktopLayer();

  qova::placeInDesktopHost(player.get(), host);
  EXPECT_EQ(::GetWindow(host.parent, GW_CHILD), shell.defView()) << qova::describeDesktopLayer();
  EXPECT_EQ(::GetWindow(shell.defView(), GW_HWNDNEXT), player.get()) << qova::describeDesktopLayer();
  EXPECT_EQ(::GetWindow(player.get(), GW_HWNDNEXT), shell.worker()) << qova::describeDesktopLayer();
  EXPECT_TRUE(shell.waitForLogLine("child-created " + ShellStandin::hex(player.get()) +
                                   " parent=" + ShellStandin::hex(shell.progman())))
      << shell.logText();
}

TEST(PlaceInDesktopHost, LeavesThePlayerAloneInATopLevelWorker) {
  ShellStandin shell;
  ASSERT_TRUE(shell.ready()) << shell.logText();
  const DesktopHost host = findDesktopHost();
  ASSERT_NE(host.parent, nullptr) << qova::describeDesktopLayer();

  TestWindowClass playerClass("QovaTestPlayer");
  auto player = createTestWindow(playerClass, kPlayerStyle, host.parent, qova::test::screenRect());
  ASSERT_TRUE(player);
  qova::placeInDesktopHost(player.get(), host);
  qova::placeInDesktopHost(nullptr, host);

  // A child of another process's window: it exists where it was born, and
  // the shell sees it arrive and leave.
  EXPECT_EQ(::GetParent(player.get()), shell.worker());
  EXPECT_EQ(::GetAncestor(player.get(), GA_ROOT), shell.worker());
  RECT onScreen{};
  ::GetWindowRect(player.get(), &onScreen);
  EXPECT_TRUE(sameRect(onScreen, qova::test::screenRect())) << qova::describeWindow(player.get());
  EXPECT_TRUE(::IsWindowVisible(player.get()));
  EXPECT_EQ(::GetWindow(shell.worker(), GW_CHILD), player.get());
  EXPECT_EQ(::GetWindow(player.get(), GW_HWNDNEXT), nullptr);

  const std::string playerHex = ShellStandin::hex(player.get());
  const std::string parentHex = ShellStandin::hex(shell.worker());
  EXPECT_TRUE(shell.waitForLogLine("child-created " + playerHex + " parent=" + parentHex))
      << shell.logText();
  player.reset();
  EXPECT_TRUE(shell.waitForLogLine("child-destroyed " + playerHex + " parent=" + parentHex))
      << shell.logText();
}

}  // namespace
