#include "outside/exui/MenuLayout.h"

#include <algorithm>

namespace qova::exui {

MenuLayout::MenuLayout(const MenuMetrics& metrics, std::vector<MenuItemShape> items)
    : metrics_(metrics), items_(std::move(items)) {
  int contentWidth = 0;
  int y = metrics_.padding;
  for (MenuItemShape& item : items_) {
    item.height = item.separator ? metrics_.separatorHeight : std::max(item.height, 1);
    tops_.push_back(y);
    y += item.height;
    const int natural = metrics_.iconLeft + metrics_.iconWidth + metrics_.captionGap +
                        std::max(item.captionWidth, 0) + metrics_.captionRight;
    contentWidth = std::max({contentWidth, item.minimumWidth, item.separator ? 0 : natural});
  }
  width_ = contentWidth + 2 * metrics_.padding;
  height_ = y + metrics_.padding;
}

Box MenuLayout::itemBox(int index) const {
  if (index < 0 || index >= count()) return {};
  return Box::sized(metrics_.padding, tops_[static_cast<size_t>(index)], width_ - 2 * metrics_.padding,
                    items_[static_cast<size_t>(index)].height);
}

Box MenuLayout::iconBox(int index) const {
  const Box item = itemBox(index);
  return Box::sized(item.left + metrics_.iconLeft, item.top + (item.height() - metrics_.iconHeight) / 2,
                    metrics_.iconWidth, metrics_.iconHeight);
}

Box MenuLayout::captionBox(int index) const {
  const Box item = itemBox(index);
  const int left = item.left + metrics_.iconLeft + metrics_.iconWidth + metrics_.captionGap;
  return {left, item.top, std::max(left, item.right - metrics_.captionRight / 2), item.bottom};
}

int MenuLayout::itemAt(int x, int y) const {
  for (int index = 0; index < count(); ++index)
    if (itemBox(index).contains(x, y)) return index;
  return -1;
}

bool MenuLayout::choosable(int index) const {
  if (index < 0 || index >= count()) return false;
  const MenuItemShape& item = items_[static_cast<size_t>(index)];
  return !item.separator && !item.disabled;
}

int MenuLayout::nextChoosable(int from, int step) const {
  const int n = count();
  if (n == 0 || step == 0) return -1;
  int index = from;
  for (int tried = 0; tried < n; ++tried) {
    index += step > 0 ? 1 : -1;
    if (index >= n) index = 0;
    if (index < 0) index = n - 1;
    if (choosable(index)) return index;
  }
  return -1;
}

}  // namespace qova::exui
