// Sizes laid out at 96 DPI scaled to other display scales as MulDiv rounds them.
#include <gtest/gtest.h>

#include "runtime/DpiScale.h"

namespace qova {
namespace {

TEST(DpiScale, At96EverythingStaysAsLaidOut) {
  for (int value : {-7, 0, 1, 13, 164, 387, 928}) EXPECT_EQ(scaledForDpi(value, 96), value);
  EXPECT_EQ(scaledForDpi(216, 0), 216) << "an unknown DPI changes nothing";
}

TEST(DpiScale, OtherScalesRoundHalfAwayFromZeroAsMulDiv) {
  EXPECT_EQ(scaledForDpi(216, 144), 324);
  EXPECT_EQ(scaledForDpi(387, 144), 581);  // 580.5
  EXPECT_EQ(scaledForDpi(1, 144), 2);      // 1.5
  EXPECT_EQ(scaledForDpi(-1, 144), -2);
  EXPECT_EQ(scaledForDpi(13, 120), 16);    // 16.25
  EXPECT_EQ(scaledForDpi(164, 192), 328);
}

}  // namespace
}  // namespace qova
