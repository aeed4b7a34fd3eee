// Menu geometry and keyboard navigation; slider value and pixel mapping.
#include <gtest/gtest.h>

#include <climits>

#include "outside/exui/MenuLayout.h"
#include "outside/exui/SliderScale.h"

namespace {

using namespace qova::exui;

MenuLayout menuOf(std::vector<MenuItemShape> items) { return MenuLayout(MenuMetrics{}, std::move(items)); }

TEST(MenuLayout, ItemsStackInsideThePaddingAndTheWidestDecides) {
  const MenuLayout menu = menuOf({{22, 80, 56}, {22, 80, 120}, {22, 80, 10, true}});
  // 10 + 16 + 10 + 120 + 28 = 184 wide items, 4 padding each side.
  EXPECT_EQ(menu.width(), 192);
  EXPECT_EQ(menu.height(), 4 + 22 + 22 + 9 + 4);
  EXPECT_EQ(menu.itemBox(1), Box::sized(4, 26, 184, 22));
  EXPECT_EQ(menu.iconBox(0), Box::sized(14, 7, 16, 16));
  EXPECT_EQ(menu.captionBox(0).left, 40);
  EXPECT_EQ(menu.itemAt(10, 30), 1);
  EXPECT_EQ(menu.itemAt(2, 30), -1);
  EXPECT_EQ(menu.itemAt(10, 50), 2);
  EXPECT_TRUE(menu.itemBox(7).empty());
}

TEST(MenuLayout, TheMinimumWidthHolds) {
  EXPECT_EQ(menuOf({{22, 300, 10}}).width(), 308);
}

TEST(MenuLayout, KeysSkipSeparatorsAndDisabledItemsAndWrap) {
  MenuItemShape separator{22, 80, 0, true};
  MenuItemShape disabled{22, 80, 30, false, true};
  const MenuLayout menu = menuOf({{22, 80, 30}, separator, disabled, {22, 80, 30}});
  EXPECT_EQ(menu.firstChoosable(), 0);
  EXPECT_EQ(menu.lastChoosable(), 3);
  EXPECT_EQ(menu.nextChoosable(0, +1), 3);
  EXPECT_EQ(menu.nextChoosable(3, +1), 0);
  EXPECT_EQ(menu.nextChoosable(0, -1), 3);
  EXPECT_FALSE(menu.choosable(2));
  EXPECT_EQ(menuOf({separator}).firstChoosable(), -1);
  EXPECT_EQ(menuOf({}).firstChoosable(), -1);
}

TEST(SliderScale, ValuesMapOntoTheThumbsTravelBothWays) {
  const SliderScale scale(0, 100);
  EXPECT_EQ(scale.valueAt(10, 10, 210), 0);
  EXPECT_EQ(scale.valueAt(110, 10, 210), 50);
  EXPECT_EQ(scale.valueAt(211, 10, 210), 100);
  EXPECT_EQ(scale.valueAt(-50, 10, 210), 0);
  EXPECT_EQ(scale.positionOf(25, 10, 210), 60);
  for (int value = 0; value <= 100; ++value)
    EXPECT_EQ(scale.valueAt(scale.positionOf(value, 7, 170), 7, 170), value);
  EXPECT_EQ(scale.positionOf(1000, 10, 210), 210);
  EXPECT_EQ(scale.valueAt(50, 10, 10), 0);
}

TEST(SliderScale, KeysAndWheelStepAndStopAtTheEnds) {
  const SliderScale scale(0, 100);
  EXPECT_EQ(scale.afterKey(50, SliderKey::Right), 51);
  EXPECT_EQ(scale.afterKey(50, SliderKey::Up), 51);
  EXPECT_EQ(scale.afterKey(50, SliderKey::Left), 49);
  EXPECT_EQ(scale.afterKey(0, SliderKey::Left), 0);
  EXPECT_EQ(scale.afterKey(95, SliderKey::PageUp), 100);
  EXPECT_EQ(scale.afterKey(50, SliderKey::PageDown), 40);
  EXPECT_EQ(scale.afterKey(50, SliderKey::Home), 0);
  EXPECT_EQ(scale.afterKey(50, SliderKey::End), 100);
  EXPECT_EQ(scale.afterWheel(50, 1), 55);
  EXPECT_EQ(scale.afterWheel(50, -2), 40);
  EXPECT_EQ(scale.afterWheel(98, 3), 100);
}

TEST(SliderScale, ExtremeRangesNeitherOverflowNorDivideByZero) {
  const SliderScale full(INT_MIN, INT_MAX);
  EXPECT_EQ(full.valueAt(0, 0, 100), INT_MIN);
  EXPECT_EQ(full.valueAt(100, 0, 100), INT_MAX);
  EXPECT_EQ(full.afterKey(INT_MAX, SliderKey::PageUp), INT_MAX);
  EXPECT_EQ(full.afterWheel(INT_MIN, -100), INT_MIN);
  const SliderScale single(5, 5);
  EXPECT_EQ(single.positionOf(5, 0, 100), 0);
  EXPECT_EQ(single.afterKey(9, SliderKey::Right), 5);
  const SliderScale reversed(100, 0);
  EXPECT_EQ(reversed.minimum(), 0);
  EXPECT_EQ(reversed.clamp(-1), 0);
}

}  // namespace
