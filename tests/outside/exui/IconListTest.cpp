// The icon list as the library window uses it: items in call order, the
// click and right-click events with their indexes, bad thumbnails, scrolling,
// and what a long list costs.
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "tests/outside/exui/ComponentHost.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/Input.h"
#include "tests/outside/exui/SampleSkins.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowPhotograph.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

// The thumbnail box of a list with the default sizes, and the pixels of one copy of a picture in it.
constexpr int kImageTop = 8;
constexpr int kImageHeight = 104;
constexpr size_t kThumbnailBytes = 184 * kImageHeight * 4;

bool isRed(uint32_t p) { return ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 60 && (p & 0xFF) < 60; }
bool isBlue(uint32_t p) { return ((p >> 16) & 0xFF) < 60 && ((p >> 8) & 0xFF) < 60 && (p & 0xFF) > 200; }

// Memory this process has committed for itself (Wine counts it only as the page file usage).
size_t privateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

double megabytes(size_t from, size_t to) { return (static_cast<double>(to) - static_cast<double>(from)) / 1048576.0; }

class IconListTest : public ExuiTest {
 protected:
  void SetUp() override {
    ExuiTest::SetUp();
    if (HasFatalFailure()) return;
    host_ = std::make_unique<ComponentHost>(640, 420);
    list_ = host_->create(Component::IcoListboxEx, exui::PropertyWriter().data(), exui::Box::sized(0, 30, 640, 390));
    ASSERT_NE(list_, nullptr);
    window_ = ComponentHost::windowOf(list_);
  }

  void appendThree() {
    for (int i = 0; i < 3; ++i) ASSERT_EQ(appendItem(list_, thumbnail(320, 180, i), u"视频" + std::u16string(1, char16_t(u'1' + i))), i);
  }

  // The colour at the middle of the item's thumbnail box, from the screen.
  uint32_t thumbnailCentre(const Pixels& shot, int index) {
    const RECT cell = itemRect(list_, index);
    return shot.at((cell.left + cell.right) / 2, cell.top + kImageTop + kImageHeight / 2);
  }

  Pixels paintedOnTop() {
    ::SetWindowPos(host_->window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return settledCapture(window_, [&] { return captureClient(window_); });
  }

  POINT centreOf(int index) {
    const RECT cell = itemRect(list_, index);
    return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
  }

  std::unique_ptr<ComponentHost> host_;
  ExuiControl list_ = nullptr;
  HWND window_ = nullptr;
};

TEST_F(IconListTest, TheCreateExportAttachesToTheProgramsWindow) {
  EXPECT_EQ(::GetPropW(window_, L"Tab_Control"), static_cast<HANDLE>(list_));
  EXPECT_EQ(exui().callInternal(kExuiFunctionControlClass, reinterpret_cast<intptr_t>(list_), 0, 0, 0, 0, 0),
            kExuiClassIcoListboxEx);
  EXPECT_EQ(::GetWindowLongPtrW(window_, GWL_STYLE) & WS_BORDER, 0) << "the library draws its own border";
  EXPECT_EQ(exui().getItemCount(list_), 0);
}

TEST_F(IconListTest, LeftClickOnAnItemRaisesSixWithItsIndex) {
  appendThree();
  for (int index : {2, 0, 1}) {
    clearEvents();
    const POINT at = centreOf(index);
    click(window_, at.x, at.y);
    ASSERT_EQ(recordedEvents().size(), 1u);
    EXPECT_EQ(recordedEvents()[0].number, 6);
    EXPECT_EQ(recordedEvents()[0].a, index);
  }
}

TEST_F(IconListTest, APressMovedOffTheItemBeforeTheReleaseIsNoClick) {
  appendThree();
  const POINT from = centreOf(0);
  const POINT to = centreOf(1);
  press(window_, from.x, from.y);
  release(window_, to.x, to.y);
  EXPECT_TRUE(recordedEvents().empty());
}

TEST_F(IconListTest, RightClickOnAnItemRaisesThreeWithItsIndexThenFifteen) {
  appendThree();
  const POINT at = centreOf(1);
  click(window_, at.x, at.y, Button::Right);
  ASSERT_EQ(eventNumbers(list_), (std::vector<int>{3, 15}));
  EXPECT_EQ(recordedEvents()[0].a, 1);
}

TEST_F(IconListTest, RightClickOnEmptySpaceRaisesOnlyFifteen) {
  appendThree();
  const RECT last = itemRect(list_, 2);
  click(window_, last.right + 40, last.top + 10, Button::Right);  // the free slot after the third item
  EXPECT_EQ(eventNumbers(list_), (std::vector<int>{15}));
  clearEvents();
  click(window_, 300, 370, Button::Right);  // below every row
  EXPECT_EQ(eventNumbers(list_), (std::vector<int>{15}));
}

TEST_F(IconListTest, ARealRightPressWhoseHandlerRunsAModalMenuStillEndsWithFifteen) {
  appendThree();
  const int32_t menu = exui().createMenu(16, 16, ByteArray({}).get(), ByteArray({}).get(), ByteArray({}).get(), 255,
                                         nullptr, 2);
  exui().insertMenuItem(menu, 0, -1, 0, nullptr, ByteArray::text(u"删除该项").get(), 0xFF000000u, 0xFF000000u, 80, 22,
                        0, 0);
  setEventReaction([&](const RecordedEvent& event) {
    if (event.number != 3) return;
    // As the program does: the item's menu at the cursor, modal, from inside the press.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    std::thread closer([] {
      for (int i = 0; i < 100 && !::IsWindowVisible(::FindWindowW(kExuiMenuWindowClass, nullptr)); ++i)
        std::this_thread::sleep_for(20ms);
      realRelease(Button::Right);
      std::this_thread::sleep_for(100ms);
      realKey(VK_ESCAPE);
    });
    exui().popUpMenu(menu, 0, cursor.x, cursor.y, host_->window(), 1, 0);
    closer.join();
  });
  POINT screen = centreOf(0);
  ::ClientToScreen(window_, &screen);
  realPress(screen.x, screen.y, Button::Right);
  ASSERT_TRUE(waitUntil([&] { return eventNumbers(list_).size() >= 2; }, 5s));
  pumpMessagesFor(200ms);
  EXPECT_EQ(eventNumbers(list_), (std::vector<int>{3, 15}));
}

TEST_F(IconListTest, ItemsAppendInCallOrderAndDeletingFromMinusOneEmptiesTheList) {
  appendThree();
  EXPECT_EQ(exui().getItemCount(list_), 3);
  EXPECT_LT(itemRect(list_, 0).left, itemRect(list_, 1).left);
  // Inserting at a position shifts the ones after it.
  ExuiImage image = loadImage(thumbnail(64, 64, 4));
  EXPECT_EQ(exui().insertItem(list_, 1, 1, 0, image, ByteArray::text(u"插入").get(), 0), 1);
  EXPECT_EQ(exui().insertItem(list_, 99, 1, 0, image, ByteArray::text(u"末尾").get(), 0), 4);
  exui().destroyImage(image);
  EXPECT_EQ(exui().deleteItem(list_, -1, exui().getItemCount(list_)), 5);
  EXPECT_EQ(exui().getItemCount(list_), 0);
  EXPECT_EQ(exui().deleteItem(list_, -1, 3), 0);
  EXPECT_EQ(exui().deleteItem(list_, 7, 3), 0);
}

TEST_F(IconListTest, UnknownListsAreRefusedHarmlessly) {
  int notAControl = 0;
  auto* bogus = reinterpret_cast<ExuiControl>(&notAControl);
  EXPECT_EQ(exui().getItemCount(bogus), 0);
  EXPECT_EQ(exui().deleteItem(bogus, -1, 1), 0);
  EXPECT_EQ(exui().insertItem(bogus, -1, 1, 0, nullptr, nullptr, 0), -1);
  EXPECT_EQ(exui().insertItem(nullptr, -1, 1, 0, nullptr, nullptr, 0), -1);
}

TEST_F(IconListTest, BadOrMissingPicturesGiveEmptyCellsThatStillClick) {
  const exui::Bytes png = thumbnail(120, 90, 0);
  const exui::Bytes truncated(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
  EXPECT_EQ(appendItem(list_, {}, u"空"), 0);
  EXPECT_EQ(appendItem(list_, truncated, u"截断"), 1);
  EXPECT_EQ(exui().insertItem(list_, -1, 1, 0, nullptr, ByteArray::text(u"无图").get(), 0), 2);
  EXPECT_EQ(exui().insertItem(list_, -1, 1, 0, nullptr, nullptr, 0), 3);
  ::UpdateWindow(window_);
  const POINT at = centreOf(1);
  click(window_, at.x, at.y);
  ASSERT_EQ(eventNumbers(list_), (std::vector<int>{6}));
  EXPECT_EQ(recordedEvents()[0].a, 1);
}

TEST_F(IconListTest, ThumbnailsKeepTheirAspectRatioInsideTheirBox) {
  // A wide red picture in the 184 x 104 box lands 184 x 46, with the empty box above and below.
  ASSERT_EQ(appendItem(list_, encodePicture(solid(320, 80, 0xFFFF0000u), PictureType::Png), u"宽"), 0);
  const Pixels shot = paintedOnTop();
  ASSERT_GT(shot.width, 0);
  const RECT cell = itemRect(list_, 0);
  const int middleX = (cell.left + cell.right) / 2;
  const int boxTop = cell.top + kImageTop;
  EXPECT_TRUE(isRed(shot.at(middleX, boxTop + 50)));
  EXPECT_FALSE(isRed(shot.at(middleX, boxTop + 10)));
  EXPECT_FALSE(isRed(shot.at(middleX, boxTop + 90)));
}

TEST_F(IconListTest, WheelArrowsAndThumbScrollWithinRange) {
  for (int i = 0; i < 60; ++i) appendItem(list_, {}, u"项");
  EXPECT_EQ(listScroll(list_), 0);
  turnWheel(window_, -1);
  const int afterOneNotch = listScroll(list_);
  EXPECT_GT(afterOneNotch, 0);
  turnWheel(window_, 5);
  EXPECT_EQ(listScroll(list_), 0);
  RECT client{};
  ::GetClientRect(window_, &client);
  click(window_, client.right - 5, client.bottom - 3);  // the down arrow
  EXPECT_GT(listScroll(list_), 0);
  // Dragging the thumb (at the top of the track, below the 9-pixel arrow) to the bottom reaches the end.
  pressKey(window_, VK_HOME);
  press(window_, client.right - 5, 12);
  movePointer(window_, client.right - 5, client.bottom + 500);
  release(window_, client.right - 5, client.bottom + 500);
  const int end = listScroll(list_);
  EXPECT_GT(end, afterOneNotch);
  pressKey(window_, VK_END);
  EXPECT_EQ(listScroll(list_), end);
  pressKey(window_, VK_HOME);
  EXPECT_EQ(listScroll(list_), 0);
  EXPECT_EQ(listScroll(list_, 1 << 30), end);
}

// The times are figures for reading (the test's properties), not conditions.
TEST_F(IconListTest, AThousandItemsInsertAndEveryWheelStepScrollsOneNotchUpToTheEnd) {
  std::vector<ExuiImage> images;
  for (int i = 0; i < 5; ++i) images.push_back(loadImage(thumbnail(320, 180, i)));
  const size_t memoryBefore = privateBytes();
  const auto insertStart = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000; ++i) {
    const std::u16string title = u"视频 " + std::u16string(1, char16_t(u'0' + i % 10));
    ASSERT_EQ(exui().insertItem(list_, -1, 1, 0, images[static_cast<size_t>(i % 5)], ByteArray::text(title).get(), 0),
              i);
  }
  const auto insertTime = std::chrono::steady_clock::now() - insertStart;
  const size_t memoryAfter = privateBytes();
  for (ExuiImage image : images) exui().destroyImage(image);
  ASSERT_EQ(exui().getItemCount(list_), 1000);

  ::UpdateWindow(window_);
  turnWheel(window_, -1);
  const int notch = listScroll(list_);
  ASSERT_GT(notch, 0);
  const int steps = 200;
  const auto scrollStart = std::chrono::steady_clock::now();
  for (int i = 1; i < steps; ++i) {  // every step repaints at once
    turnWheel(window_, -1);
    ASSERT_EQ(listScroll(list_), (i + 1) * notch) << "after step " << i + 1;
  }
  const auto scrollTime = std::chrono::steady_clock::now() - scrollStart;
  const int end = listScroll(list_, 1 << 30);
  EXPECT_GT(end, steps * notch) << "a thousand rows reach further than 200 notches";
  listScroll(list_, end - notch / 2);
  turnWheel(window_, -1);
  EXPECT_EQ(listScroll(list_), end) << "the last step stops at the end";

  RecordProperty("insert_1000_ms", std::to_string(std::chrono::duration<double, std::milli>(insertTime).count()));
  RecordProperty("insert_1000_private_mb", std::to_string(megabytes(memoryBefore, memoryAfter)));
  RecordProperty("wheel_step_with_repaint_ms",
                 std::to_string(std::chrono::duration<double, std::milli>(scrollTime).count() / (steps - 1)));
}

TEST_F(IconListTest, ItemsAreDecodedWhenPaintedAndScrollingPaintsTheLaterOnes) {
  constexpr int kItems = 500;
  const exui::Bytes red = encodePicture(solid(320, 180, 0xFFFF0000u), PictureType::Png);
  const exui::Bytes blue = encodePicture(solid(320, 180, 0xFF0000FFu), PictureType::Png);
  ASSERT_FALSE(red.empty());
  ASSERT_FALSE(blue.empty());
  // The first item pays the one-off costs (the decoder, fonts) outside the measured span.
  appendItem(list_, red, u"红");
  ::UpdateWindow(window_);
  // As the program fills its list: one image loaded, inserted and destroyed per item, nothing painted between.
  const size_t before = privateBytes();
  for (int i = 1; i < kItems - 1; ++i) ASSERT_EQ(appendItem(list_, red, u"红"), i);
  ASSERT_EQ(appendItem(list_, blue, u"蓝"), kItems - 1);
  // Decoded copies for every item would be kItems thumbnails; a quarter of that is plenty for the files.
  const size_t allowance = kThumbnailBytes * kItems / 4;
  const size_t inserted = privateBytes();
  EXPECT_LT(inserted, before + allowance) << megabytes(before, inserted) << " MB more after inserting";

  // A page at a time to the end: every item is painted once, and those scrolled past are let go.
  Pixels shot = paintedOnTop();
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(isRed(thumbnailCentre(shot, 0)));
  int previous = -1;
  while (listScroll(list_) != previous) {
    previous = listScroll(list_);
    pressKey(window_, VK_NEXT);
  }
  shot = paintedOnTop();
  EXPECT_TRUE(isBlue(thumbnailCentre(shot, kItems - 1)));
  EXPECT_TRUE(isRed(thumbnailCentre(shot, kItems - 2)));
  const size_t scrolled = privateBytes();
  EXPECT_LT(scrolled, before + allowance) << megabytes(before, scrolled) << " MB more after painting every item";
  // Back at the top, the first items are decoded again.
  pressKey(window_, VK_HOME);
  shot = paintedOnTop();
  EXPECT_TRUE(isRed(thumbnailCentre(shot, 0)));
  EXPECT_TRUE(isRed(thumbnailCentre(shot, 1)));
}

TEST_F(IconListTest, DestroyingTheWindowFromInsideAnEventIsSafe) {
  appendThree();
  setEventReaction([&](const RecordedEvent&) { ::DestroyWindow(window_); });
  const POINT at = centreOf(0);
  click(window_, at.x, at.y);
  EXPECT_FALSE(::IsWindow(window_));
  EXPECT_EQ(exui().callInternal(kExuiFunctionIsControl, reinterpret_cast<intptr_t>(list_), 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(exui().getItemCount(list_), 0);
}

}  // namespace
}  // namespace qova::test
