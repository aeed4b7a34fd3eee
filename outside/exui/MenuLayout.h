#pragma once
// The geometry of a skinned popup menu and the keyboard's way through it:
// items stacked top to bottom inside a padded frame. Platform-free.
#include <vector>

#include "outside/exui/Geometry.h"

namespace qova::exui {

struct MenuItemShape {
  int height = 22;
  int minimumWidth = 80;
  int captionWidth = 0;     // measured width of the caption text
  bool separator = false;
  bool disabled = false;
};

struct MenuMetrics {
  int padding = 4;          // frame around the items
  int iconWidth = 16;
  int iconHeight = 16;
  int iconLeft = 10;        // from the item's left edge to the icon
  int captionGap = 10;      // from the icon to the caption
  int captionRight = 28;    // after the caption
  int separatorHeight = 9;
};

class MenuLayout {
 public:
  MenuLayout(const MenuMetrics& metrics, std::vector<MenuItemShape> items);

  int width() const { return width_; }
  int height() const { return height_; }
  int count() const { return static_cast<int>(items_.size()); }
  // The item's rectangle in menu coordinates; empty for an index out of range.
  Box itemBox(int index) const;
  Box iconBox(int index) const;
  Box captionBox(int index) const;
  // The item under the point, separators included; -1 for the frame and outside.
  int itemAt(int x, int y) const;
  bool choosable(int index) const;
  // The next choosable item after `from` going `step` (+1 down, -1 up),
  // wrapping around; from -1 going down gives the first. -1 when none is choosable.
  int nextChoosable(int from, int step) const;
  int firstChoosable() const { return nextChoosable(-1, +1); }
  int lastChoosable() const { return nextChoosable(count(), -1); }

 private:
  MenuMetrics metrics_;
  std::vector<MenuItemShape> items_;
  std::vector<int> tops_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace qova::exui
