#pragma once
// IcoListboxEx: a scrolling grid of items, each a thumbnail above a title.
// Items keep their picture's file bytes; an item's thumbnail is decoded and
// scaled into the thumbnail box when the item is first painted, and only the
// most recently painted thumbnails are kept, so a long list costs little more
// than its files and painting touches only the rows on screen.
#include <cstdint>
#include <string>
#include <vector>

#include "outside/exui/Control.h"
#include "outside/exui/ListLayout.h"
#include "outside/exui/Picture.h"

namespace qova::exui {

class IconList final : public Control {
 public:
  IconList(HWND window, ExuiEventFunction events, PropertySet properties);

  // The list behind a control; null when it is another class.
  static IconList* of(Control* control);

  void paintFace(Painter& painter, const Box& client) override;

  int count() const { return static_cast<int>(items_.size()); }
  // Removes up to `count` items from `index` (-1: from the start); how many went.
  int remove(int index, int count);
  // Inserts before `position` (-1 or past the end: appends); the new index.
  int insert(int position, bool keepAspect, int32_t data, const PictureRef& picture, std::wstring title,
             uint32_t titleColour);
  // The item's cell in client coordinates; false when out of range.
  bool itemBox(int index, Box* box) const;
  int scrollOffset() const { return scroll_; }
  // Scrolls to the offset (kept within range) and repaints at once; the offset now in force.
  int scrollTo(int offset);

 protected:
  bool opaque() const override { return true; }
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void propertyChanged(int32_t id) override;
  void layout() override;
  void pointerLeft() override;

 private:
  struct Item {
    EncodedBytes encoded;  // the picture's file bytes, decoded again whenever needed
    PictureRef picture;    // the picture itself when it came from no file
    PictureRef thumbnail;  // null until painted; at its size in the thumbnail box
    Box placed;            // where it sits, relative to the thumbnail box
    uint64_t paintedAt = 0;
    std::wstring title;
    int32_t data = 0;
    uint32_t titleColour = 0;
    bool keepAspect = true;
  };

  void readMetrics();
  Box imageBoxOf(const Box& cell) const;
  void fitThumbnail(Item& item) const;
  void dropThumbnails();
  void trimThumbnails(int visibleCount);
  const Picture* skinImage(int index) const;
  void paintItem(Painter& painter, int index, const Box& cell);
  void paintTitle(Painter& painter, const Item& item, const Box& box, bool hot);
  void paintScrollBar(Painter& painter);
  void paintArrow(Painter& painter, const Box& box, ScrollPart part, bool up);
  void updateHot();
  void pressScrollPart(ScrollPart part, int y);
  void stepScrollPart();
  void leftPress(int x, int y);
  void leftRelease(LPARAM lParam);
  void rightPress(int x, int y);
  void rightRelease(int x, int y);
  void stopScrollPress();

  ListLayout layout_;
  std::vector<Item> items_;
  std::vector<PictureRef> skin_;
  int thumbnails_ = 0;      // items holding a thumbnail
  uint64_t paintClock_ = 0;
  int imageWidth_ = 0;
  int imageHeight_ = 0;
  int scroll_ = 0;
  int hotItem_ = -1;
  ScrollPart hotPart_ = ScrollPart::None;
  int pressedItem_ = -1;
  ScrollPart pressedPart_ = ScrollPart::None;
  int thumbGrab_ = 0;      // pointer y minus the thumb's top while dragging
  bool rightPending_ = false;
};

}  // namespace qova::exui
