// Where the players go on layouts of several monitors, including those Wine
// cannot make: a monitor left of or above the primary (negative coordinates).
#include <gtest/gtest.h>

#include "desktop/ScreenPlacement.h"

#include <ostream>

namespace qova {

void PrintTo(const ScreenRect& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

std::vector<ScreenRect> inLayer(const std::vector<MonitorArea>& monitors, bool everyMonitor = true) {
  const ScreenRect all = virtualScreen(monitors);
  return playerPlaces(monitors, all.left, all.top, everyMonitor);
}

TEST(ScreenPlacement, OneMonitorFillsTheLayer) {
  const std::vector<MonitorArea> one{{{0, 0, 1920, 1080}, true}};
  EXPECT_EQ(inLayer(one), (std::vector<ScreenRect>{{0, 0, 1920, 1080}}));
  EXPECT_TRUE(playerPlaces({}, 0, 0, true).empty());
}

TEST(ScreenPlacement, SecondMonitorRightOfThePrimary) {
  // As Xephyr lays out two screens under Wine.
  const std::vector<MonitorArea> two{{{0, 0, 1280, 720}, true}, {{1280, 0, 2304, 768}, false}};
  EXPECT_EQ(inLayer(two), (std::vector<ScreenRect>{{0, 0, 1280, 720}, {1280, 0, 2304, 768}}));
  EXPECT_EQ(inLayer(two, false), (std::vector<ScreenRect>{{0, 0, 1280, 720}}));
}

TEST(ScreenPlacement, MonitorLeftOfThePrimaryShiftsThePrimary) {
  const std::vector<MonitorArea> two{{{-1280, 0, 0, 1024}, false}, {{0, 0, 1920, 1080}, true}};
  const ScreenRect all = virtualScreen(two);
  EXPECT_EQ(all, (ScreenRect{-1280, 0, 1920, 1080}));
  EXPECT_EQ(inLayer(two), (std::vector<ScreenRect>{{1280, 0, 3200, 1080}, {0, 0, 1280, 1024}}))
      << "the primary first, at its place right of the other";
  EXPECT_EQ(inLayer(two, false), (std::vector<ScreenRect>{{1280, 0, 3200, 1080}}));
}

TEST(ScreenPlacement, MonitorAboveThePrimaryAndOneBelowLeft) {
  const std::vector<MonitorArea> three{
      {{0, 0, 2560, 1440}, true}, {{320, -1080, 2240, 0}, false}, {{-1080, 600, 0, 2520}, false}};
  EXPECT_EQ(virtualScreen(three), (ScreenRect{-1080, -1080, 2560, 2520}));
  EXPECT_EQ(inLayer(three), (std::vector<ScreenRect>{
                                {1080, 1080, 3640, 2520}, {1400, 0, 3320, 1080}, {0, 1680, 1080, 3600}}));
}

TEST(ScreenPlacement, TopLevelPlayersKeepScreenCoordinates) {
  const std::vector<MonitorArea> two{{{-1280, 0, 0, 1024}, false}, {{0, 0, 1920, 1080}, true}};
  EXPECT_EQ(playerPlaces(two, 0, 0, true), (std::vector<ScreenRect>{{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}}));
}

TEST(ScreenPlacement, NoPrimaryMarkedTakesTheFirst) {
  const std::vector<MonitorArea> two{{{0, 0, 800, 600}, false}, {{800, 0, 1600, 600}, false}};
  EXPECT_EQ(playerPlaces(two, 0, 0, false), (std::vector<ScreenRect>{{0, 0, 800, 600}}));
}

}  // namespace
}  // namespace qova
