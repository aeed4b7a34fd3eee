#pragma once
// Where the items and the scroll bar of an icon list are: a grid of equal
// cells spread evenly across the width left of the scroll bar, scrolled by a
// vertical pixel offset. Platform-free.
#include "outside/exui/Geometry.h"

namespace qova::exui {

struct ListMetrics {
  int itemWidth = 200;
  int itemHeight = 150;
  int gap = 12;               // least space between neighbouring cells
  int padding = 10;           // above the first row and below the last
  int scrollBarWidth = 10;
  int arrowHeight = 9;
  int minimumThumb = 24;
};

enum class ScrollPart { None, UpArrow, DownArrow, TrackAbove, Thumb, TrackBelow };

struct ScrollBarGeometry {
  bool visible = false;       // only when the items do not fit
  Box bar, up, down, track, thumb;
};

// Items from `first` up to, not including, `last`.
struct ItemRange {
  int first = 0;
  int last = 0;
};

class ListLayout {
 public:
  explicit ListLayout(ListMetrics metrics = {});

  void setMetrics(const ListMetrics& metrics);
  const ListMetrics& metrics() const { return metrics_; }
  void setViewport(int width, int height);
  void setItemCount(int count);
  int itemCount() const { return count_; }
  int viewportHeight() const { return height_; }

  int columns() const;
  int rows() const;
  int rowPitch() const { return metrics_.itemHeight + metrics_.gap; }
  int contentHeight() const;
  int maxScroll() const;
  int clampScroll(int offset) const;

  // The cell of item `index` in client coordinates at scroll offset `scroll`.
  Box itemBox(int index, int scroll) const;
  // The item whose cell holds the point; -1 for the gaps, padding and scroll bar.
  int itemAt(int x, int y, int scroll) const;
  // The items whose cells show at least one row of pixels.
  ItemRange visibleItems(int scroll) const;

  ScrollBarGeometry scrollBar(int scroll) const;
  ScrollPart scrollPartAt(int x, int y, int scroll) const;
  // The scroll offset that puts the thumb's top at `thumbTop` (client y).
  int scrollForThumbTop(int thumbTop) const;

  // Pixels per wheel notch, per arrow click and per click on the track.
  int wheelStep() const;
  int lineStep() const;
  int pageStep() const;

 private:
  int columnGap() const;
  int gridLeft() const;

  ListMetrics metrics_;
  int width_ = 0;
  int height_ = 0;
  int count_ = 0;
};

}  // namespace qova::exui
