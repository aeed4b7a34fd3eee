#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/DesktopLayer.h"
#include "desktop/WindowDescription.h"
#include "tests/support/ShellStandin.h"

namespace {

using qova::test::ShellLayout;
using qova::test::ShellStandin;
using qova::test::ShellStandinOptions;

std::vector<std::string> visibilityChanges(const ShellStandin& shell, std::size_t firstLine) {
  std::vector<std::string> changes;
  for (const std::string& line : shell.logSince(firstLine))
    if (line.starts_with("show ")) changes.push_back(line);
  return changes;
}

std::string layoutName(const testing::TestParamInfo<ShellLayout>& layout) {
  return layout.param == ShellLayout::Classic ? "Classic" : "Win11_24H2";
}

class RefreshDesktopLayer : public testing::TestWithParam<ShellLayout> {};

TEST_P(RefreshDesktopLayer, HidesThenShowsTheWorker) {
  ShellStandin shell({.layout = GetParam()});
  ASSERT_TRUE(shell.ready()) << shell.logText();
  HWND worker = shell.requestWorker();
  ASSERT_NE(worker, nullptr) << shell.logText();
  const std::size_t mark = shell.logLineCount();

  qova::refreshDesktopLayer();

  const std::string workerHex = ShellStandin::hex(worker);
  ASSERT_TRUE(shell.waitForLogLine("show " + workerHex + " 1", std::chrono::seconds(5), mark))
      << shell.logText();
  EXPECT_EQ(visibilityChanges(shell, mark),
            (std::vector<std::string>{"show " + workerHex + " 0", "show " + workerHex + " 1"}))
      << shell.logText();
  EXPECT_TRUE(::IsWindowVisible(worker)) << qova::describeWindow(worker);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, RefreshDesktopLayer,
                         testing::Values(ShellLayout::Classic, ShellLayout::Win11_24H2),
                         layoutName);

TEST(RefreshDesktopLayerWithoutWorker, DoesNothing) {
  qova::refreshDesktopLayer();  // no shell at all

  ShellStandin shell({.ignoreWorkerRequest = true});
  ASSERT_TRUE(shell.ready()) << shell.logText();
  qova::refreshDesktopLayer();
  EXPECT_EQ(shell.countLogLines("got-52c"), 2u) << "one fresh lookup for each step";
  EXPECT_EQ(shell.countLogLines("show "), 0u) << shell.logText();
  EXPECT_TRUE(::IsWindowVisible(shell.progman()));
}

}  // namespace
