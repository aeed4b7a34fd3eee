#include "outside/exui/IconList.h"

#include <windowsx.h>

#include <algorithm>

#include "outside/exui/Fonts.h"
#include "outside/exui/PropertyTable.h"
#include "outside/exui/Theme.h"

namespace qova::exui {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelay = 350;
constexpr UINT kRepeatInterval = 50;
constexpr int kImageTop = 8;
constexpr int kTitleInset = 6;
constexpr int kMarkSize = 12;
constexpr int kMarkGap = 4;
constexpr Margins kItemMargins{6, 6, 6, 6};
constexpr Margins kThumbMargins{0, 5, 0, 5};
// Thumbnails kept beyond the ones on screen: at least this many, or a few
// screenfuls, so scrolling back and forth does not decode again.
constexpr int kKeptThumbnails = 48;
constexpr int kKeptScreens = 3;

bool buttonDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

IconList::IconList(HWND window, ExuiEventFunction events, PropertySet properties)
    : Control(window, events, kExuiClassIcoListboxEx, std::move(properties)) {
  skin_ = decodePicturesAtDpi(properties_.bytes(kExuiPropListImages), dpi());
  readMetrics();
}

IconList* IconList::of(Control* control) {
  return control && control->classNumber() == kExuiClassIcoListboxEx ? static_cast<IconList*>(control) : nullptr;
}

const Picture* IconList::skinImage(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= skin_.size() || skin_[static_cast<size_t>(index)]->isEmpty())
    return nullptr;
  return skin_[static_cast<size_t>(index)].get();
}

void IconList::readMetrics() {
  const auto item = integersProperty(properties_, kExuiPropItemSize);
  const auto image = integersProperty(properties_, kExuiPropImageSize);
  ListMetrics metrics;
  metrics.itemWidth = scaled(std::max(item[0], 8));
  metrics.itemHeight = scaled(std::max(item[1], 8));
  metrics.gap = scaled(metrics.gap);
  metrics.padding = scaled(metrics.padding);
  metrics.scrollBarWidth = scaled(metrics.scrollBarWidth);
  metrics.arrowHeight = scaled(metrics.arrowHeight);
  metrics.minimumThumb = scaled(metrics.minimumThumb);
  if (const Picture* thumb = skinImage(kExuiListImageThumb)) {
    metrics.scrollBarWidth = std::max(thumb->width(), 6);
    metrics.minimumThumb = std::max(metrics.minimumThumb, thumb->height());
  }
  if (const Picture* up = skinImage(kExuiListImageUp)) metrics.arrowHeight = up->height();
  layout_.setMetrics(metrics);
  layout_.setItemCount(count());
  const int width = std::clamp(scaled(image[0]), 1, metrics.itemWidth);
  const int height = std::clamp(scaled(image[1]), 1, std::max(1, metrics.itemHeight - scaled(kImageTop)));
  if (width != imageWidth_ || height != imageHeight_) {
    imageWidth_ = width;
    imageHeight_ = height;
    dropThumbnails();  // made again at the new size when painted
  }
}

void IconList::propertyChanged(int32_t id) {
  if (id == kExuiPropListImages || id == kExuiPropDpi)
    skin_ = decodePicturesAtDpi(properties_.bytes(kExuiPropListImages), dpi());
  if (id == kExuiPropListImages || id == kExuiPropItemSize || id == kExuiPropImageSize || id == kExuiPropDpi)
    readMetrics();
}

void IconList::layout() {
  const Box box = client();
  layout_.setViewport(box.width(), box.height());
  scroll_ = layout_.clampScroll(scroll_);
}

Box IconList::imageBoxOf(const Box& cell) const {
  return Box::sized(cell.left + (cell.width() - imageWidth_) / 2, cell.top + scaled(kImageTop), imageWidth_,
                    imageHeight_);
}

void IconList::fitThumbnail(Item& item) const {
  // Decoded afresh from the file: only the scaled copy is kept.
  const PictureRef picture = item.encoded ? Picture::decode(*item.encoded) : item.picture;
  item.thumbnail = picture->fittedInto(Box::sized(0, 0, imageWidth_, imageHeight_), item.keepAspect, &item.placed);
}

void IconList::dropThumbnails() {
  for (Item& item : items_) item.thumbnail.reset();
  thumbnails_ = 0;
}

void IconList::trimThumbnails(int visibleCount) {
  const int keep = std::max(kKeptThumbnails, visibleCount * kKeptScreens);
  if (thumbnails_ <= keep) return;
  std::vector<Item*> holders;
  for (Item& item : items_)
    if (item.thumbnail) holders.push_back(&item);
  // The most recently painted stay.
  std::nth_element(holders.begin(), holders.begin() + keep, holders.end(),
                   [](const Item* a, const Item* b) { return a->paintedAt > b->paintedAt; });
  for (auto it = holders.begin() + keep; it != holders.end(); ++it) (*it)->thumbnail.reset();
  thumbnails_ = keep;
}

int IconList::insert(int position, bool keepAspect, int32_t data, const PictureRef& picture, std::wstring title,
                     uint32_t titleColour) {
  Item item;
  item.title = std::move(title);
  item.data = data;
  item.titleColour = titleColour;
  item.keepAspect = keepAspect;
  if (picture->encoded())
    item.encoded = picture->encoded();
  else
    item.picture = picture;
  const int index = position < 0 || position > count() ? count() : position;
  items_.insert(items_.begin() + index, std::move(item));
  layout_.setItemCount(count());
  scroll_ = layout_.clampScroll(scroll_);
  pressedItem_ = -1;
  redraw();
  return index;
}

int IconList::remove(int index, int howMany) {
  const int first = std::clamp(index < 0 ? 0 : index, 0, count());
  const int removed = std::clamp(howMany, 0, count() - first);
  thumbnails_ -= static_cast<int>(std::count_if(items_.begin() + first, items_.begin() + first + removed,
                                                [](const Item& item) { return item.thumbnail != nullptr; }));
  items_.erase(items_.begin() + first, items_.begin() + first + removed);
  layout_.setItemCount(count());
  scroll_ = layout_.clampScroll(scroll_);
  hotItem_ = pressedItem_ = -1;
  redraw();
  return removed;
}

bool IconList::itemBox(int index, Box* box) const {
  if (index < 0 || index >= count() || !box) return false;
  *box = layout_.itemBox(index, scroll_);
  return true;
}

int IconList::scrollTo(int offset) {
  const int next = layout_.clampScroll(offset);
  if (next != scroll_) {
    scroll_ = next;
    updateHot();
    redrawNow();
  }
  return scroll_;
}

void IconList::updateHot() {
  POINT point{};
  ::GetCursorPos(&point);
  ::ScreenToClient(window(), &point);
  const bool inside = hot() && client().contains(point.x, point.y);
  const int item = inside && pressedPart_ == ScrollPart::None ? layout_.itemAt(point.x, point.y, scroll_) : -1;
  const ScrollPart part = inside ? layout_.scrollPartAt(point.x, point.y, scroll_) : ScrollPart::None;
  if (item != hotItem_ || part != hotPart_) {
    hotItem_ = item;
    hotPart_ = part;
    redraw();
  }
}

void IconList::pointerLeft() {
  hotItem_ = -1;
  hotPart_ = ScrollPart::None;
}

// --- painting ---------------------------------------------------------------

void IconList::paintFace(Painter& painter, const Box& client) {
  painter.fill(client, theme::kFace);
  const ItemRange visible = layout_.visibleItems(scroll_);
  for (int index = visible.first; index < visible.last; ++index)
    paintItem(painter, index, layout_.itemBox(index, scroll_));
  trimThumbnails(visible.last - visible.first);
  paintScrollBar(painter);
}

void IconList::paintItem(Painter& painter, int index, const Box& cell) {
  Item& item = items_[static_cast<size_t>(index)];
  if (!item.thumbnail) {
    fitThumbnail(item);
    ++thumbnails_;
  }
  item.paintedAt = ++paintClock_;
  const bool isHot = index == hotItem_;
  const bool isPressed = isHot && index == pressedItem_;
  if (const Picture* back = skinImage(isHot ? kExuiListImageItemHot : kExuiListImageItem))
    painter.pictureNineGrid(*back, scaledMargins(kItemMargins), cell);
  else if (isHot)
    painter.fillRounded(cell, scaled(6), isPressed ? theme::kAccentPale : theme::kAccentLight);

  const Box imageBox = imageBoxOf(cell);
  painter.fillRounded(imageBox, scaled(theme::kRadius), theme::kPlaceholder);
  if (!item.thumbnail->isEmpty()) painter.picture(*item.thumbnail, item.placed.moved(imageBox.left, imageBox.top));
  paintTitle(painter, item,
             Box{cell.left + scaled(kTitleInset), imageBox.bottom, cell.right - scaled(kTitleInset), cell.bottom},
             isHot);
}

void IconList::paintTitle(Painter& painter, const Item& item, const Box& box, bool isHot) {
  if (box.empty()) return;
  HFONT font = uiFont(scaled(theme::kTitleHeight));
  const int markSize = scaled(kMarkSize);
  const int markGap = scaled(kMarkGap);
  const uint32_t colour = item.titleColour ? item.titleColour : isHot ? theme::kAccent : theme::kText;
  const Picture* mark = skinImage(kExuiListImageMark);
  if (!mark) {
    painter.text(item.title, box, colour, font, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    return;
  }
  const int available = std::max(0, box.width() - markSize - markGap);
  const int width = std::min(textWidth(item.title, font), available);
  const int left = box.left + (box.width() - (markSize + markGap + width)) / 2;
  const int middle = box.top + box.height() / 2;
  painter.picture(*mark, Box::sized(left, middle - markSize / 2, markSize, markSize));
  painter.text(item.title, Box{left + markSize + markGap, box.top, left + markSize + markGap + width + 1, box.bottom},
               colour, font, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void IconList::paintArrow(Painter& painter, const Box& box, ScrollPart part, bool up) {
  const int state = pressedPart_ == part && hotPart_ == part ? 2 : hotPart_ == part ? 1 : 0;
  if (const Picture* image = skinImage((up ? kExuiListImageUp : kExuiListImageDown) + state)) {
    painter.picture(*image, box);
    return;
  }
  const double cx = box.left + box.width() / 2.0;
  const double cy = box.top + box.height() / 2.0;
  const double half = std::min(box.width(), box.height()) / 2.0 - 0.5;
  const uint32_t colour = state == 2 ? theme::kScrollThumbPressed : state == 1 ? theme::kScrollThumbHot
                                                                               : theme::kScrollThumb;
  const double tip = up ? cy - half / 2 : cy + half / 2;
  const double base = up ? cy + half / 2 : cy - half / 2;
  painter.fillTriangle(cx - half, base, cx + half, base, cx, tip, colour);
}

void IconList::paintScrollBar(Painter& painter) {
  const ScrollBarGeometry bar = layout_.scrollBar(scroll_);
  if (!bar.visible) return;
  painter.fillRounded(bar.track, bar.track.width() / 2.0, 0xFFF2F3F5);
  const bool dragging = pressedPart_ == ScrollPart::Thumb;
  if (const Picture* thumb = skinImage(dragging ? kExuiListImageThumbPressed : kExuiListImageThumb)) {
    painter.pictureNineGrid(*thumb, scaledMargins(kThumbMargins), bar.thumb);
  } else {
    const uint32_t colour = dragging ? theme::kScrollThumbPressed
                            : hotPart_ == ScrollPart::Thumb ? theme::kScrollThumbHot
                                                            : theme::kScrollThumb;
    const Box body = bar.thumb.inset(1, 0);
    painter.fillRounded(body, body.width() / 2.0, colour);
  }
  paintArrow(painter, bar.up, ScrollPart::UpArrow, true);
  paintArrow(painter, bar.down, ScrollPart::DownArrow, false);
}

// --- pointer and keys ---------------------------------------------------------

void IconList::pressScrollPart(ScrollPart part, int y) {
  pressedPart_ = part;
  beginPress();
  if (part == ScrollPart::Thumb) {
    thumbGrab_ = y - layout_.scrollBar(scroll_).thumb.top;
    redraw();
    return;
  }
  stepScrollPart();
  ::SetTimer(window(), kRepeatTimer, kRepeatDelay, nullptr);
}

void IconList::stepScrollPart() {
  POINT point{};
  ::GetCursorPos(&point);
  ::ScreenToClient(window(), &point);
  switch (pressedPart_) {
    case ScrollPart::UpArrow:
      scrollTo(scroll_ - layout_.lineStep());
      break;
    case ScrollPart::DownArrow:
      scrollTo(scroll_ + layout_.lineStep());
      break;
    case ScrollPart::TrackAbove:
      // Paging stops once the thumb has reached the pointer.
      if (point.y < layout_.scrollBar(scroll_).thumb.top) scrollTo(scroll_ - layout_.pageStep());
      break;
    case ScrollPart::TrackBelow:
      if (point.y >= layout_.scrollBar(scroll_).thumb.bottom) scrollTo(scroll_ + layout_.pageStep());
      break;
    default:
      break;
  }
}

void IconList::stopScrollPress() {
  ::KillTimer(window(), kRepeatTimer);
  pressedPart_ = ScrollPart::None;
}

void IconList::leftPress(int x, int y) {
  focusIfActive();
  const ScrollPart part = layout_.scrollPartAt(x, y, scroll_);
  if (part != ScrollPart::None) {
    pressScrollPart(part, y);
    return;
  }
  pressedItem_ = layout_.itemAt(x, y, scroll_);
  beginPress();
}

void IconList::leftRelease(LPARAM lParam) {
  const int item = pressedItem_;
  pressedItem_ = -1;
  stopScrollPress();
  endPress(lParam);
  updateHot();
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  if (item >= 0 && layout_.itemAt(x, y, scroll_) == item) fire(kExuiCodeLeftClick, item, x, y);
}

void IconList::rightPress(int x, int y) {
  focusIfActive();
  rightPending_ = true;
  const int item = layout_.itemAt(x, y, scroll_);
  if (item >= 0) {
    fire(kExuiCodeItemRightPress, item, x, y);
    if (!alive()) return;
  }
  // A menu opened by the handler may have taken the release: the press still ends with its event.
  if (rightPending_ && !buttonDown(VK_RBUTTON)) rightRelease(x, y);
}

void IconList::rightRelease(int x, int y) {
  if (!rightPending_) return;
  rightPending_ = false;
  fire(kExuiCodeRightRelease, x, y, layout_.itemAt(x, y, scroll_));
}

LRESULT IconList::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_MOUSEMOVE: {
      const LRESULT result = Control::handleMessage(message, wParam, lParam);
      if (pressedPart_ == ScrollPart::Thumb)
        scrollTo(layout_.scrollForThumbTop(y - thumbGrab_));
      else
        updateHot();
      return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      leftPress(x, y);
      return 0;
    case WM_LBUTTONUP:
      leftRelease(lParam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      rightPress(x, y);
      return 0;
    case WM_RBUTTONUP:
      rightRelease(x, y);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window()) {
        stopScrollPress();
        pressedItem_ = -1;
      }
      break;
    case WM_TIMER:
      if (wParam != kRepeatTimer) break;
      ::SetTimer(window(), kRepeatTimer, kRepeatInterval, nullptr);
      stepScrollPart();
      return 0;
    case WM_MOUSEWHEEL:
      scrollTo(scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) * layout_.wheelStep() / WHEEL_DELTA);
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_UP: scrollTo(scroll_ - layout_.wheelStep()); return 0;
        case VK_DOWN: scrollTo(scroll_ + layout_.wheelStep()); return 0;
        case VK_PRIOR: scrollTo(scroll_ - layout_.pageStep()); return 0;
        case VK_NEXT: scrollTo(scroll_ + layout_.pageStep()); return 0;
        case VK_HOME: scrollTo(0); return 0;
        case VK_END: scrollTo(layout_.maxScroll()); return 0;
        default: break;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    default:
      break;
  }
  return Control::handleMessage(message, wParam, lParam);
}

}  // namespace qova::exui
