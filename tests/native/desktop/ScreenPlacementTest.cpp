// Where the players go on layouts of several monitors, including those Wine
// cannot make: a monitor left of or above the primary (negative coordinates).
#include <gtest/gtest.h>

#include "desktop/ScreenPlacement.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qova {

void PrintTo(const ScreenRect& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

// Players in the desktop layer are placed relative to the virtual screen's
// top left; top-level players keep screen coordinates (origin 0, 0).
enum class Host { Layer, TopLevel };

struct Placement {
  const char* name;
  std::vector<MonitorArea> monitors;
  Host host;
  bool everyMonitor;
  std::vector<ScreenRect> expected;            // the primary's first
  std::optional<ScreenRect> expectedVirtual;   // checked when given
};

void PrintTo(const Placement& p, std::ostream* out) { *out << p.name; }

const std::vector<MonitorArea> kOne{{{0, 0, 1920, 1080}, true}};
// As Xephyr lays out two screens under Wine.
const std::vector<MonitorArea> kRightOfThePrimary{{{0, 0, 1280, 720}, true}, {{1280, 0, 2304, 768}, false}};
const std::vector<MonitorArea> kLeftOfThePrimary{{{-1280, 0, 0, 1024}, false}, {{0, 0, 1920, 1080}, true}};
const std::vector<MonitorArea> kAboveAndBelowLeft{
    {{0, 0, 2560, 1440}, true}, {{320, -1080, 2240, 0}, false}, {{-1080, 600, 0, 2520}, false}};
const std::vector<MonitorArea> kNoPrimaryMarked{{{0, 0, 800, 600}, false}, {{800, 0, 1600, 600}, false}};

const Placement kPlacements[] = {
    {"OneMonitorFillsTheLayer", kOne, Host::Layer, true, {{0, 0, 1920, 1080}}, ScreenRect{0, 0, 1920, 1080}},
    {"NoMonitorNoPlayer", {}, Host::TopLevel, true, {}, std::nullopt},
    {"SecondMonitorRightOfThePrimary", kRightOfThePrimary, Host::Layer, true,
     {{0, 0, 1280, 720}, {1280, 0, 2304, 768}}, ScreenRect{0, 0, 2304, 768}},
    {"SecondMonitorRightOfThePrimaryPrimaryOnly", kRightOfThePrimary, Host::Layer, false, {{0, 0, 1280, 720}},
     std::nullopt},
    // The primary first, at its place right of the other.
    {"MonitorLeftOfThePrimaryShiftsThePrimary", kLeftOfThePrimary, Host::Layer, true,
     {{1280, 0, 3200, 1080}, {0, 0, 1280, 1024}}, ScreenRect{-1280, 0, 1920, 1080}},
    {"MonitorLeftOfThePrimaryPrimaryOnly", kLeftOfThePrimary, Host::Layer, false, {{1280, 0, 3200, 1080}},
     std::nullopt},
    {"MonitorAboveThePrimaryAndOneBelowLeft", kAboveAndBelowLeft, Host::Layer, true,
     {{1080, 1080, 3640, 2520}, {1400, 0, 3320, 1080}, {0, 1680, 1080, 3600}}, ScreenRect{-1080, -1080, 2560, 2520}},
    {"TopLevelPlayersKeepScreenCoordinates", kLeftOfThePrimary, Host::TopLevel, true,
     {{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}}, std::nullopt},
    {"NoPrimaryMarkedTakesTheFirst", kNoPrimaryMarked, Host::TopLevel, false, {{0, 0, 800, 600}}, std::nullopt},
};

class ScreenPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(ScreenPlacement, PlayersGoToTheirMonitors) {
  const Placement& p = GetParam();
  if (p.expectedVirtual) {
    EXPECT_EQ(virtualScreen(p.monitors), *p.expectedVirtual);
  }
  const ScreenRect all = p.host == Host::Layer ? virtualScreen(p.monitors) : ScreenRect{};
  EXPECT_EQ(playerPlaces(p.monitors, all.left, all.top, p.everyMonitor), p.expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ScreenPlacement, ::testing::ValuesIn(kPlacements),
                         [](const ::testing::TestParamInfo<Placement>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace qova
