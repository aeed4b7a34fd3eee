#include "outside/exui/ListLayout.h"

#include <algorithm>

namespace qova::exui {
namespace {

int sanitised(int value, int least) { return std::max(value, least); }

}  // namespace

ListLayout::ListLayout(ListMetrics metrics) { setMetrics(metrics); }

void ListLayout::setMetrics(const ListMetrics& metrics) {
  metrics_ = metrics;
  metrics_.itemWidth = sanitised(metrics.itemWidth, 1);
  metrics_.itemHeight = sanitised(metrics.itemHeight, 1);
  metrics_.gap = sanitised(metrics.gap, 0);
  metrics_.padding = sanitised(metrics.padding, 0);
  metrics_.scrollBarWidth = sanitised(metrics.scrollBarWidth, 0);
  metrics_.arrowHeight = sanitised(metrics.arrowHeight, 0);
  metrics_.minimumThumb = sanitised(metrics.minimumThumb, 1);
}

void ListLayout::setViewport(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
}

void ListLayout::setItemCount(int count) { count_ = std::max(count, 0); }

int ListLayout::columns() const {
  const int usable = width_ - metrics_.scrollBarWidth - 2 * metrics_.padding;
  return std::max(1, (usable + metrics_.gap) / (metrics_.itemWidth + metrics_.gap));
}

int ListLayout::rows() const { return (count_ + columns() - 1) / columns(); }

int ListLayout::contentHeight() const {
  if (count_ == 0) return 0;
  return 2 * metrics_.padding + rows() * rowPitch() - metrics_.gap;
}

int ListLayout::maxScroll() const { return std::max(0, contentHeight() - height_); }

int ListLayout::clampScroll(int offset) const { return std::clamp(offset, 0, maxScroll()); }

int ListLayout::columnGap() const {
  // Width the columns leave over is spread evenly over the gaps and both sides.
  const int n = columns();
  const int usable = width_ - metrics_.scrollBarWidth - 2 * metrics_.padding;
  const int spare = std::max(0, usable - n * metrics_.itemWidth - (n - 1) * metrics_.gap);
  return metrics_.gap + spare / (n + 1);
}

int ListLayout::gridLeft() const {
  const int n = columns();
  const int gridWidth = n * metrics_.itemWidth + (n - 1) * columnGap();
  return std::max(0, (width_ - metrics_.scrollBarWidth - gridWidth) / 2);
}

Box ListLayout::itemBox(int index, int scroll) const {
  const int column = index % columns();
  const int row = index / columns();
  return Box::sized(gridLeft() + column * (metrics_.itemWidth + columnGap()),
                    metrics_.padding + row * rowPitch() - scroll, metrics_.itemWidth,
                    metrics_.itemHeight);
}

int ListLayout::itemAt(int x, int y, int scroll) const {
  if (x < 0 || y < 0 || x >= width_ - metrics_.scrollBarWidth || y >= height_) return -1;
  const int gridX = x - gridLeft();
  const int gridY = y + scroll - metrics_.padding;
  if (gridX < 0 || gridY < 0) return -1;
  const int columnPitch = metrics_.itemWidth + columnGap();
  const int column = gridX / columnPitch;
  const int row = gridY / rowPitch();
  if (column >= columns() || gridX % columnPitch >= metrics_.itemWidth ||
      gridY % rowPitch() >= metrics_.itemHeight)
    return -1;
  const int index = row * columns() + column;
  return index < count_ ? index : -1;
}

ItemRange ListLayout::visibleItems(int scroll) const {
  if (count_ == 0 || height_ == 0) return {};
  const int top = std::max(0, scroll - metrics_.padding);
  const int bottom = scroll + height_ - metrics_.padding;  // first content row not shown
  if (bottom <= 0) return {};
  // A top edge inside the gap below a row starts at the next row.
  const int firstRow = top / rowPitch() + (top % rowPitch() >= metrics_.itemHeight ? 1 : 0);
  const int lastRow = (bottom - 1) / rowPitch();
  const int first = std::min(count_, firstRow * columns());
  const int last = std::min(count_, (lastRow + 1) * columns());
  return {first, last};
}

ScrollBarGeometry ListLayout::scrollBar(int scroll) const {
  ScrollBarGeometry bar;
  bar.visible = maxScroll() > 0 && metrics_.scrollBarWidth > 0;
  bar.bar = {width_ - metrics_.scrollBarWidth, 0, width_, height_};
  bar.up = {bar.bar.left, 0, bar.bar.right, std::min(metrics_.arrowHeight, height_ / 2)};
  bar.down = {bar.bar.left, height_ - bar.up.height(), bar.bar.right, height_};
  bar.track = {bar.bar.left, bar.up.bottom, bar.bar.right, bar.down.top};
  const int trackHeight = bar.track.height();
  const int content = std::max(contentHeight(), 1);
  int thumbHeight = static_cast<int>(static_cast<long long>(trackHeight) * height_ / content);
  thumbHeight = std::clamp(thumbHeight, std::min(metrics_.minimumThumb, trackHeight), trackHeight);
  const int travel = trackHeight - thumbHeight;
  const int maximum = maxScroll();
  const int offset =
      maximum > 0 ? static_cast<int>(static_cast<long long>(travel) * clampScroll(scroll) / maximum) : 0;
  bar.thumb = {bar.track.left, bar.track.top + offset, bar.track.right, bar.track.top + offset + thumbHeight};
  return bar;
}

ScrollPart ListLayout::scrollPartAt(int x, int y, int scroll) const {
  const ScrollBarGeometry bar = scrollBar(scroll);
  if (!bar.visible || !bar.bar.contains(x, y)) return ScrollPart::None;
  if (bar.up.contains(x, y)) return ScrollPart::UpArrow;
  if (bar.down.contains(x, y)) return ScrollPart::DownArrow;
  if (bar.thumb.contains(x, y)) return ScrollPart::Thumb;
  return y < bar.thumb.top ? ScrollPart::TrackAbove : ScrollPart::TrackBelow;
}

int ListLayout::scrollForThumbTop(int thumbTop) const {
  const ScrollBarGeometry bar = scrollBar(0);
  const int travel = bar.track.height() - bar.thumb.height();
  if (travel <= 0) return 0;
  const int moved = std::clamp(thumbTop - bar.track.top, 0, travel);
  return clampScroll(static_cast<int>((static_cast<long long>(moved) * maxScroll() + travel / 2) / travel));
}

int ListLayout::wheelStep() const { return std::max(16, rowPitch() / 2); }

int ListLayout::lineStep() const { return std::max(8, rowPitch() / 6); }

int ListLayout::pageStep() const { return std::max(rowPitch(), height_ - rowPitch() / 2); }

}  // namespace qova::exui
