// The panel docks to the bottom-right corner of the work area, wherever the
// taskbar stands, at start-up and again when the shell announces a new work
// area or the display changes. Under Wine the work area is each process's
// own, so these run the program's start-up inside the test program and set
// the work area here, as a shell would for the whole session.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "shell/Layouts.h"
#include "tests/app/ProgramInProcess.h"

namespace qova::test {
namespace {

enum class TaskbarEdge { Top, Left, Right, Bottom };

struct TaskbarPlace {
  TaskbarEdge edge;
  int thickness;
};

std::string rectText(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

// The screen less a taskbar of that thickness on that edge.
RECT workAreaBeside(TaskbarPlace taskbar) {
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  switch (taskbar.edge) {
    case TaskbarEdge::Top: area.top += taskbar.thickness; break;
    case TaskbarEdge::Left: area.left += taskbar.thickness; break;
    case TaskbarEdge::Right: area.right -= taskbar.thickness; break;
    case TaskbarEdge::Bottom: area.bottom -= taskbar.thickness; break;
  }
  return area;
}

class PanelInWorkArea : public ProgramInProcess {
 protected:
  void SetUp() override {
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &savedWorkArea_, 0);
    ProgramInProcess::SetUp();
  }
  void TearDown() override {
    ProgramInProcess::TearDown();
    ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &savedWorkArea_, 0);
  }

  // What the shell does when its taskbar moves or changes size.
  static void moveTaskbar(const RECT& workArea) {
    RECT area = workArea;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0));
  }
  void announceWorkArea() const { ::SendMessageA(mainWindow, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0); }

  RECT panelRect() const {
    RECT rect{};
    ::GetWindowRect(mainWindow, &rect);
    return rect;
  }
  // Docked in the corner, at this height.
  ::testing::AssertionResult inCorner(const RECT& workArea, int height) const {
    const RECT r = panelRect();
    if (r.right == workArea.right && r.bottom == workArea.bottom && r.right - r.left == kMainWindowWidth &&
        r.bottom - r.top == height)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "panel " << rectText(r) << " in work area " << rectText(workArea);
  }

 private:
  RECT savedWorkArea_{};
};

class PanelBesideTaskbar : public PanelInWorkArea, public ::testing::WithParamInterface<TaskbarPlace> {};

TEST_P(PanelBesideTaskbar, DocksInTheWorkAreasCornerAtStartUpAndAgainWhenTheTaskbarMoves) {
  const RECT atStart = workAreaBeside(GetParam());
  moveTaskbar(atStart);
  start();
  EXPECT_TRUE(inCorner(atStart, kMainWindowCollapsedHeight));
  EXPECT_TRUE(::IsWindowVisible(mainWindow));

  // The taskbar goes to the bottom, twice as thick.
  const RECT moved = workAreaBeside({TaskbarEdge::Bottom, 2 * GetParam().thickness});
  moveTaskbar(moved);
  announceWorkArea();
  EXPECT_TRUE(inCorner(moved, kMainWindowCollapsedHeight));

  // Pulled aside, it snaps back to the new left edge.
  const RECT before = panelRect();
  ::SetWindowPos(mainWindow, nullptr, 10, before.top - 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(panelRect().left, moved.right - kMainWindowWidth) << rectText(panelRect());
  EXPECT_EQ(panelRect().top, before.top - 30) << rectText(panelRect());

  // Back where it was, after a change of display mode.
  moveTaskbar(atStart);
  ::SendMessageA(mainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(::GetSystemMetrics(SM_CXSCREEN),
                                                               ::GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_TRUE(inCorner(atStart, kMainWindowCollapsedHeight));

  // The settings view stands on the work area's bottom edge as well.
  program->mainWindowHandlers().menu.openSettings();
  EXPECT_TRUE(inCorner(atStart, kMainWindowExpandedHeight));
  // Shrunk below its collapsed height, it stands there collapsed.
  ::SetWindowPos(mainWindow, nullptr, 0, 0, kMainWindowWidth, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(inCorner(atStart, kMainWindowCollapsedHeight));
}

std::string taskbarName(const ::testing::TestParamInfo<TaskbarPlace>& parameter) {
  const char* edges[] = {"Top", "Left", "Right", "Bottom"};
  return edges[static_cast<int>(parameter.param.edge)] + std::to_string(parameter.param.thickness);
}

INSTANTIATE_TEST_SUITE_P(EachEdge, PanelBesideTaskbar,
                         ::testing::Values(TaskbarPlace{TaskbarEdge::Top, 40}, TaskbarPlace{TaskbarEdge::Left, 62},
                                           TaskbarPlace{TaskbarEdge::Right, 100},
                                           TaskbarPlace{TaskbarEdge::Bottom, 48}),
                         taskbarName);

}  // namespace
}  // namespace qova::test
