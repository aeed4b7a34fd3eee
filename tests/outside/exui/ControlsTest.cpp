// The small controls of the main window: slider, radio buttons, buttons
// with captions and state images, the group box's pointer events, the edit
// box, and the window skin's close button.
#include "tests/outside/exui/ComponentHost.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/Input.h"
#include "tests/outside/exui/SampleSkins.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using exui::Box;
using exui::PropertyWriter;

class ControlsTest : public ExuiTest {
 protected:
  void SetUp() override {
    ExuiTest::SetUp();
    if (!HasFatalFailure()) host_ = std::make_unique<ComponentHost>(400, 300);
  }
  std::unique_ptr<ComponentHost> host_;
};

TEST_F(ControlsTest, SliderRaisesZeroWithTheNewValueForClicksKeysAndWheel) {
  ExuiControl slider = host_->create(Component::SliderbarEx,
                                     PropertyWriter().text(kExuiPropSkinName, u"EX_UI默认皮肤_滑块条").data(),
                                     Box::sized(20, 20, 175, 24));
  ASSERT_NE(slider, nullptr);
  HWND window = ComponentHost::windowOf(slider);
  EXPECT_EQ(integerProperty(slider, kExuiPropValue), 0);
  EXPECT_EQ(integerProperty(slider, kExuiPropMaximum), 100);

  click(window, 175 / 2, 12);  // the middle of the track
  ASSERT_EQ(eventNumbers(slider), (std::vector<int>{0}));
  const int middle = recordedEvents().back().a;
  EXPECT_NEAR(middle, 50, 2);
  EXPECT_EQ(integerProperty(slider, kExuiPropValue), middle);

  pressKey(window, VK_RIGHT);
  EXPECT_EQ(recordedEvents().back().a, middle + 1);
  pressKey(window, VK_LEFT);
  pressKey(window, VK_LEFT);
  EXPECT_EQ(recordedEvents().back().a, middle - 1);
  turnWheel(window, 1);
  EXPECT_EQ(recordedEvents().back().a, middle + 4);
  EXPECT_EQ(eventNumbers(slider).size(), 5u) << "one event per change";

  pressKey(window, VK_END);
  pressKey(window, VK_RIGHT);  // already at the end: no change, no event
  EXPECT_EQ(recordedEvents().back().a, 100);
  EXPECT_EQ(eventNumbers(slider).size(), 6u);

  // Dragging past the left end stops at the minimum.
  press(window, 150, 12);
  movePointer(window, -300, 12);
  release(window, -300, 12);
  EXPECT_EQ(recordedEvents().back().a, 0);
}

TEST_F(ControlsTest, SliderValuesSetByTheProgramAreClampedAndRaiseNothing) {
  ExuiControl slider = host_->create(Component::SliderbarEx, PropertyWriter().integer(kExuiPropValue, 35).data(),
                                     Box::sized(20, 20, 175, 24));
  EXPECT_EQ(integerProperty(slider, kExuiPropValue), 35);
  exui().controlSendMessage(slider, kExuiMessageSetProperty, kExuiPropValue, 80, 0, 0);
  EXPECT_EQ(integerProperty(slider, kExuiPropValue), 80);
  exui().controlSendMessage(slider, kExuiMessageSetProperty, kExuiPropValue, 1000, 0, 0);
  EXPECT_EQ(integerProperty(slider, kExuiPropValue), 100);
  exui().controlSendMessage(slider, kExuiMessageSetProperty, kExuiPropValue, -5, 0, 0);
  EXPECT_EQ(integerProperty(slider, kExuiPropValue), 0);
  EXPECT_TRUE(recordedEvents().empty());
}

TEST_F(ControlsTest, RadioButtonsAreExclusiveWithinTheirContainer) {
  ExuiControl group = host_->create(Component::MinutesboxEx, PropertyWriter().data(), Box::sized(10, 10, 207, 28));
  HWND groupWindow = ComponentHost::windowOf(group);
  ExuiControl show = host_->create(Component::RadiobuttonEx,
                                   PropertyWriter().text(kExuiPropCaption, u"显示该窗口").boolean(kExuiPropChecked, true).data(),
                                   Box::sized(4, 4, 100, 20), groupWindow);
  ExuiControl hide = host_->create(Component::RadiobuttonEx, PropertyWriter().text(kExuiPropCaption, u"隐藏该窗口").data(),
                                   Box::sized(104, 4, 95, 20), groupWindow);
  // One outside the container is a group of its own.
  ExuiControl other = host_->create(Component::RadiobuttonEx,
                                    PropertyWriter().text(kExuiPropCaption, u"别组").boolean(kExuiPropChecked, true).data(),
                                    Box::sized(10, 60, 100, 20));
  ASSERT_TRUE(show && hide && other);
  click(ComponentHost::windowOf(hide), 10, 10);
  EXPECT_EQ(eventNumbers(hide), (std::vector<int>{0}));
  EXPECT_EQ(recordedEvents().back().a, 1);
  EXPECT_EQ(integerProperty(hide, kExuiPropChecked), 1);
  EXPECT_EQ(integerProperty(show, kExuiPropChecked), 0);
  EXPECT_EQ(integerProperty(other, kExuiPropChecked), 1);

  click(ComponentHost::windowOf(show), 10, 10);
  EXPECT_EQ(integerProperty(show, kExuiPropChecked), 1);
  EXPECT_EQ(integerProperty(hide, kExuiPropChecked), 0);
  EXPECT_EQ(eventNumbers(show), (std::vector<int>{0}));
}

TEST_F(ControlsTest, ButtonRaisesZeroForAClickButNotForAReleaseOutside) {
  ExuiControl button = host_->create(Component::ButtonEx, PropertyWriter().text(kExuiPropCaption, u"设置开机启动").data(),
                                     Box::sized(4, 184, 100, 28));
  HWND window = ComponentHost::windowOf(button);
  click(window, 50, 14);
  EXPECT_EQ(eventNumbers(button), (std::vector<int>{0}));
  press(window, 50, 14);
  release(window, 150, 14);
  EXPECT_EQ(eventNumbers(button).size(), 1u);
}

TEST_F(ControlsTest, ButtonStateImagesCanBeSwappedWithSkinFileBytes) {
  const exui::Bytes pause = exui::encodeImageSet(buttonStates(ButtonSymbol::Pause, 32, 2));
  const exui::Bytes play = exui::encodeImageSet(buttonStates(ButtonSymbol::Play, 32, 2));
  ExuiControl button = host_->create(Component::ButtonEx, PropertyWriter().imageSet(kExuiPropStateImages, buttonStates(ButtonSymbol::Pause, 32, 2)).data(),
                                     Box::sized(92, 128, 32, 32));
  HWND window = ComponentHost::windowOf(button);
  ::SetWindowPos(host_->window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::UpdateWindow(window);
  pumpMessagesFor(std::chrono::milliseconds(50));
  const Pixels before = captureClient(window);
  EXPECT_EQ(exui().controlSendMessage(button, kExuiMessageSetProperty, kExuiPropStateImages, ByteArray(play).value(), 0, 0), 1);
  ::UpdateWindow(window);
  pumpMessagesFor(std::chrono::milliseconds(50));
  const Pixels after = captureClient(window);
  EXPECT_NE(before.argb, after.argb) << "the play symbol replaced the pause symbol";
  // Bytes that are no picture leave a button that still works.
  exui().controlSendMessage(button, kExuiMessageSetProperty, kExuiPropStateImages, ByteArray(exui::Bytes{1, 2, 3}).value(), 0, 0);
  click(window, 16, 16);
  EXPECT_EQ(eventNumbers(button), (std::vector<int>{0}));
  (void)pause;
}

TEST_F(ControlsTest, GroupBoxRaisesFiveSixAndEightForRightClickLeftClickAndDoubleClick) {
  ExuiControl box = host_->create(Component::MinutesboxEx, PropertyWriter().data(), Box::sized(4, 4, 208, 120));
  HWND window = ComponentHost::windowOf(box);
  click(window, 30, 40, Button::Right);
  EXPECT_EQ(eventNumbers(box), (std::vector<int>{5}));
  EXPECT_EQ(recordedEvents().back().a, 30);
  EXPECT_EQ(recordedEvents().back().b, 40);
  clearEvents();
  click(window, 50, 60);
  EXPECT_EQ(eventNumbers(box), (std::vector<int>{6}));
  clearEvents();
  doubleClick(window, 50, 60);
  EXPECT_EQ(eventNumbers(box), (std::vector<int>{6, 8}));
}

TEST_F(ControlsTest, EditBoxShowsItsTextAndReportsItBack) {
  const std::u16string text = u"CTRL+ALT+F10 = 播放/暂停\r\nCTRL+ALT+End = 退出\r\n";
  ExuiControl edit = host_->create(
      Component::EditboxEx, PropertyWriter().text(kExuiPropText, text).boolean(kExuiPropReadOnly, true).data(),
      Box::sized(4, 62, 207, 116));
  ASSERT_NE(edit, nullptr);
  ExuiPropertyValue value{};
  ASSERT_EQ(exui().controlSendMessage(edit, kExuiMessageGetProperty, kExuiPropText, reinterpret_cast<intptr_t>(&value), 0, 0), 1);
  EXPECT_EQ(exui::textFromUtf16Bytes(exui::ByteView(value.bytes, static_cast<size_t>(value.length))), text);
  HWND inner = ::GetWindow(ComponentHost::windowOf(edit), GW_CHILD);
  ASSERT_NE(inner, nullptr);
  EXPECT_NE(::GetWindowLongPtrW(inner, GWL_STYLE) & ES_READONLY, 0);
  exui().controlSendMessage(edit, kExuiMessageSetProperty, kExuiPropText, ByteArray::text(u"新").value(), 0, 0);
  wchar_t shown[16] = {};
  ::GetWindowTextW(inner, shown, 16);
  EXPECT_EQ(std::wstring(shown), L"新");
}

TEST_F(ControlsTest, FrameSkinCloseButtonHidesTheWindowAndRaisesOneWithFalse) {
  ExuiControl skin = host_->create(Component::WindowEx,
                                   PropertyWriter()
                                       .integer(kExuiPropWindowRole, kExuiWindowRoleFrame)
                                       .picture(kExuiPropBackground, popupBackground())
                                       .imageSet(kExuiPropCloseImages, closeButtonStates())
                                       .data(),
                                   Box::sized(4, 4, 52, 24));
  ASSERT_NE(skin, nullptr);
  HWND button = ComponentHost::windowOf(skin);
  EXPECT_NE(::GetPropA(button, "Tab_IsWinControl"), nullptr);
  RECT rect{};
  ::GetWindowRect(button, &rect);
  ::MapWindowPoints(nullptr, host_->window(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.right, 400 - 1) << "the close button sits in the top-right corner";
  EXPECT_EQ(rect.bottom - rect.top, 30);
  // The band drags the window like a caption.
  POINT band{100, 10};
  ::ClientToScreen(host_->window(), &band);
  EXPECT_EQ(::SendMessageW(host_->window(), WM_NCHITTEST, 0, MAKELPARAM(band.x, band.y)), HTCAPTION);

  ASSERT_TRUE(::IsWindowVisible(host_->window()));
  click(button, 15, 15);
  EXPECT_FALSE(::IsWindowVisible(host_->window()));
  ASSERT_EQ(eventNumbers(skin), (std::vector<int>{1}));
  EXPECT_EQ(recordedEvents().back().a, 0);
}

TEST_F(ControlsTest, SizeChangesReachTheControlsAndResizingTheSkinnedWindowMovesItsCloseButton) {
  ExuiControl skin = host_->create(Component::WindowEx,
                                   PropertyWriter()
                                       .integer(kExuiPropWindowRole, kExuiWindowRoleFrame)
                                       .imageSet(kExuiPropCloseImages, closeButtonStates())
                                       .data(),
                                   Box::sized(4, 4, 52, 24));
  ExuiControl list = host_->create(Component::IcoListboxEx, PropertyWriter().data(), Box::sized(0, 30, 948, 588));
  ASSERT_TRUE(skin && list);
  ::SetWindowPos(host_->window(), nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
  ::MoveWindow(ComponentHost::windowOf(list), 0, 30, 600, 370, TRUE);
  RECT rect{};
  ::GetWindowRect(ComponentHost::windowOf(skin), &rect);
  ::MapWindowPoints(nullptr, host_->window(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.right, 600 - 1);
  ::GetClientRect(ComponentHost::windowOf(list), &rect);
  EXPECT_EQ(rect.right, 600);
  EXPECT_EQ(rect.bottom, 370);
}

TEST_F(ControlsTest, ControlDestroyFromItsOwnEventLeavesAPlainWindow) {
  ExuiControl button = host_->create(Component::ButtonEx, PropertyWriter().text(kExuiPropCaption, u"一次").data(),
                                     Box::sized(10, 10, 80, 28));
  HWND window = ComponentHost::windowOf(button);
  setEventReaction([](const RecordedEvent& event) { exui().controlDestroy(event.control); });
  click(window, 20, 10);
  EXPECT_EQ(eventNumbers(button), (std::vector<int>{0}));
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_EQ(::GetPropW(window, L"Tab_Control"), nullptr);
  EXPECT_EQ(exui().controlDestroy(button), 0);
  click(window, 20, 10);  // a plain window now: nothing more
  EXPECT_EQ(eventNumbers(button).size(), 1u);
}

TEST_F(ControlsTest, CreateExportsRefuseUnusableRecords) {
  ExuiCreationRecord record{nullptr, 2, 1, 0, nullptr, 0};
  EXPECT_EQ(exui().createButtonEx(0, host_->window(), 0, 0, 10, 10, nullptr, &record, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
            nullptr);
  EXPECT_EQ(exui().createButtonEx(0, host_->window(), 0, 0, 10, 10, nullptr, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
            nullptr);
  // Foreign property bytes give the defaults.
  const exui::Bytes junk{0x12, 0x34, 0x56};
  ExuiControl slider = host_->create(Component::SliderbarEx, junk, Box::sized(0, 0, 100, 24));
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(integerProperty(slider, kExuiPropMaximum), 100);
}

}  // namespace
}  // namespace qova::test
