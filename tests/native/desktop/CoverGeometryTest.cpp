// Whether windows hide a monitor: one maximized window with the taskbar,
// windows side by side, gaps of one pixel, windows partly off the screen.
#include <gtest/gtest.h>

#include "desktop/CoverGeometry.h"

namespace qova {
namespace {

constexpr ScreenRect kMonitor{0, 0, 1920, 1080};

TEST(CoverGeometry, WhatHidesAMonitorAndWhatDoesNot) {
  EXPECT_FALSE(rectanglesCover(kMonitor, {})) << "nothing over the desktop";
  EXPECT_TRUE(rectanglesCover(kMonitor, {{0, 0, 1920, 1080}})) << "a full-screen window";
  EXPECT_TRUE(rectanglesCover(kMonitor, {{-8, -8, 1928, 1048}, {0, 1040, 1920, 1080}}))
      << "a maximized window (borders off the screen) and the taskbar";
  EXPECT_FALSE(rectanglesCover(kMonitor, {{0, 0, 1920, 1040}})) << "the taskbar's band shows the wallpaper";
  EXPECT_TRUE(rectanglesCover(kMonitor, {{0, 0, 960, 1080}, {960, 0, 1920, 1080}})) << "two side by side";
  EXPECT_FALSE(rectanglesCover(kMonitor, {{0, 0, 959, 1080}, {960, 0, 1920, 1080}})) << "a one-pixel gap";
  EXPECT_TRUE(rectanglesCover(kMonitor, {{0, 0, 1920, 600}, {0, 500, 1000, 1080}, {900, 550, 1920, 1080}}))
      << "overlapping windows";
  EXPECT_FALSE(rectanglesCover(kMonitor, {{100, 100, 1800, 1000}})) << "a window that covers only part";
  EXPECT_FALSE(rectanglesCover(kMonitor, {{1920, 0, 3840, 1080}})) << "a window on the other monitor";
  EXPECT_FALSE(rectanglesCover(kMonitor, {{0, 0, 0, 1080}, {0, 0, 1920, -5}})) << "empty rectangles";
}

TEST(CoverGeometry, MonitorsLeftOfAndAboveThePrimary) {
  const ScreenRect left{-1280, 0, 0, 1024};
  EXPECT_TRUE(rectanglesCover(left, {{-1288, -8, 8, 1032}}));
  EXPECT_FALSE(rectanglesCover(left, {{0, 0, 1920, 1080}}));
  const ScreenRect above{0, -900, 1600, 0};
  EXPECT_TRUE(rectanglesCover(above, {{0, -900, 800, 0}, {800, -900, 1600, 0}}));
}

}  // namespace
}  // namespace qova
