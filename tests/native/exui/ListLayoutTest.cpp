// The icon list's grid, hit testing, visible range and scroll bar arithmetic.
#include <gtest/gtest.h>

#include "outside/exui/ListLayout.h"

namespace {

using namespace qova::exui;

// 100 x 80 cells, 10 gap, 10 padding, a 10 wide bar: 4 columns fit in 500.
ListLayout layoutOf(int count, int width = 500, int height = 300) {
  ListLayout layout({100, 80, 10, 10, 10, 9, 24});
  layout.setViewport(width, height);
  layout.setItemCount(count);
  return layout;
}

TEST(ListLayout, CellsFillRowsInCallOrderSpreadAcross) {
  const ListLayout layout = layoutOf(10);
  EXPECT_EQ(layout.columns(), 4);
  EXPECT_EQ(layout.rows(), 3);
  // 470 usable, 4 x 100 + 3 x 10: the 40 left over goes 8 to each of the 5 spaces: gaps of 18.
  EXPECT_EQ(layout.itemBox(0, 0), Box::sized(18, 10, 100, 80));
  EXPECT_EQ(layout.itemBox(1, 0), Box::sized(136, 10, 100, 80));
  EXPECT_EQ(layout.itemBox(3, 0), Box::sized(372, 10, 100, 80));
  EXPECT_EQ(layout.itemBox(4, 0), Box::sized(18, 100, 100, 80));
  EXPECT_EQ(layout.itemBox(4, 50), Box::sized(18, 50, 100, 80));
  EXPECT_EQ(layout.contentHeight(), 10 + 3 * 90 - 10 + 10);
}

TEST(ListLayout, ANarrowListStillHasOneColumn) {
  const ListLayout layout = layoutOf(3, 50, 300);
  EXPECT_EQ(layout.columns(), 1);
  EXPECT_EQ(layout.itemBox(2, 0).top, 10 + 2 * 90);
}

TEST(ListLayout, HitTestingFindsCellsAndMissesGapsPaddingBarAndEmptySlots) {
  const ListLayout layout = layoutOf(6);
  EXPECT_EQ(layout.itemAt(18, 10, 0), 0);
  EXPECT_EQ(layout.itemAt(117, 89, 0), 0);
  EXPECT_EQ(layout.itemAt(118, 50, 0), -1);   // gap between columns
  EXPECT_EQ(layout.itemAt(135, 50, 0), -1);
  EXPECT_EQ(layout.itemAt(50, 95, 0), -1);    // gap between rows
  EXPECT_EQ(layout.itemAt(50, 5, 0), -1);     // padding
  EXPECT_EQ(layout.itemAt(10, 50, 0), -1);    // left of the grid
  EXPECT_EQ(layout.itemAt(150, 120, 0), 5);
  EXPECT_EQ(layout.itemAt(260, 120, 0), -1);  // slot 6 has no item
  EXPECT_EQ(layout.itemAt(495, 50, 0), -1);   // the scroll bar
  EXPECT_EQ(layout.itemAt(50, 20, 90), 4);    // scrolled by one row
}

TEST(ListLayout, ScrollStaysBetweenZeroAndTheOverflow) {
  const ListLayout layout = layoutOf(1000);
  EXPECT_EQ(layout.rows(), 250);
  EXPECT_EQ(layout.maxScroll(), 10 + 250 * 90 - 10 + 10 - 300);
  EXPECT_EQ(layout.clampScroll(-5), 0);
  EXPECT_EQ(layout.clampScroll(1 << 30), layout.maxScroll());
  EXPECT_EQ(layoutOf(3).maxScroll(), 0);
  EXPECT_EQ(layoutOf(0).maxScroll(), 0);
}

TEST(ListLayout, OnlyRowsThatShowAreVisible) {
  const ListLayout layout = layoutOf(1000);
  // Rows 0..3 touch 0..300 (row 3 starts at 280).
  EXPECT_EQ(layout.visibleItems(0).first, 0);
  EXPECT_EQ(layout.visibleItems(0).last, 16);
  // Scrolled by 95: row 1 starts at 5 on screen; row 0 ends at -5.
  EXPECT_EQ(layout.visibleItems(95).first, 4);
  const ItemRange end = layout.visibleItems(layout.maxScroll());
  EXPECT_EQ(end.last, 1000);
  EXPECT_LE(end.last - end.first, 20);
  EXPECT_EQ(layoutOf(0).visibleItems(0).last, 0);
}

TEST(ListLayout, ThumbTracksTheScrollAndDraggingMapsBack) {
  const ListLayout layout = layoutOf(1000);
  const ScrollBarGeometry top = layout.scrollBar(0);
  ASSERT_TRUE(top.visible);
  EXPECT_EQ(top.up, (Box{490, 0, 500, 9}));
  EXPECT_EQ(top.down, (Box{490, 291, 500, 300}));
  EXPECT_EQ(top.thumb.top, 9);
  EXPECT_EQ(top.thumb.height(), 24);  // the minimum: 300 of 22510 would be 3
  const ScrollBarGeometry bottom = layout.scrollBar(layout.maxScroll());
  EXPECT_EQ(bottom.thumb.bottom, 291);
  EXPECT_EQ(layout.scrollForThumbTop(9), 0);
  EXPECT_EQ(layout.scrollForThumbTop(291 - 24), layout.maxScroll());
  EXPECT_EQ(layout.scrollForThumbTop(1000), layout.maxScroll());
  const int middle = layout.scrollForThumbTop(9 + (291 - 24 - 9) / 2);
  EXPECT_NEAR(middle, layout.maxScroll() / 2, layout.maxScroll() / 100);
  EXPECT_FALSE(layoutOf(3).scrollBar(0).visible);
}

TEST(ListLayout, ScrollBarPartsAreFoundWhereTheyAre) {
  const ListLayout layout = layoutOf(1000);
  const int scroll = layout.maxScroll() / 2;
  const ScrollBarGeometry bar = layout.scrollBar(scroll);
  EXPECT_EQ(layout.scrollPartAt(495, 3, scroll), ScrollPart::UpArrow);
  EXPECT_EQ(layout.scrollPartAt(495, 296, scroll), ScrollPart::DownArrow);
  EXPECT_EQ(layout.scrollPartAt(495, bar.thumb.top + 1, scroll), ScrollPart::Thumb);
  EXPECT_EQ(layout.scrollPartAt(495, bar.thumb.top - 1, scroll), ScrollPart::TrackAbove);
  EXPECT_EQ(layout.scrollPartAt(495, bar.thumb.bottom, scroll), ScrollPart::TrackBelow);
  EXPECT_EQ(layout.scrollPartAt(400, 50, scroll), ScrollPart::None);
}

TEST(ListLayout, StepsAreSensibleForTallRows) {
  const ListLayout layout = layoutOf(1000);
  EXPECT_EQ(layout.wheelStep(), 45);
  EXPECT_GT(layout.pageStep(), layout.wheelStep());
  EXPECT_LT(layout.pageStep(), 300);
}

}  // namespace
