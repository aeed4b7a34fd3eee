// Skinned popup menus: shown at a point, chosen with the mouse or the keys,
// reported through the callback with code 650, the item id and the menu number.
#include <chrono>
#include <cstring>
#include <thread>

#include "tests/outside/exui/ComponentHost.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/Input.h"
#include "tests/outside/exui/SampleSkins.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

struct MenuCall {
  int32_t menu, code, item, data, number, last;
};
std::vector<MenuCall> menuCalls;

int32_t __cdecl recordMenuCall(int32_t menu, int32_t code, int32_t item, int32_t data, int32_t number, int32_t last) {
  menuCalls.push_back({menu, code, item, data, number, last});
  return 0;
}

// The program's font record: "微软雅黑", 14, packed by the library.
exui::Bytes packedMenuFont() {
  ExuiFontInfo info{};
  const std::u16string face = u"微软雅黑";
  std::memcpy(info.face, face.data(), face.size() * 2);
  info.height = 14;
  const ExuiByteArrayHeader* packed = exui().packFontInfo(&info);
  const auto* bytes = reinterpret_cast<const uint8_t*>(packed) + 8;
  return exui::Bytes(bytes, bytes + packed->length);
}

HWND menuWindow() {
  return reinterpret_cast<HWND>(exui().callInternal(kExuiFunctionMenuWindow, 0, 0, 0, 0, 0, 0));
}

RECT menuItemRect(int32_t menu, int32_t item) {
  RECT rect{};
  exui().callInternal(kExuiFunctionMenuItemRect, menu, item, reinterpret_cast<intptr_t>(&rect), 0, 0, 0);
  return rect;
}

class MenuTest : public ExuiTest {
 protected:
  void SetUp() override {
    ExuiTest::SetUp();
    if (HasFatalFailure()) return;
    menuCalls.clear();
    host_ = std::make_unique<ComponentHost>(300, 200);
    ::SetForegroundWindow(host_->window());
    pumpMessagesFor(50ms);
    const exui::Bytes font = packedMenuFont();
    menu_ = exui().createMenu(16, 16, ByteArray({}).get(), ByteArray(font).get(), ByteArray({}).get(), 255,
                              &recordMenuCall, 1);
    ASSERT_NE(menu_, 0);
    const char16_t* captions[] = {u"打开设置", u"添加视频", u"退出应用"};
    for (int i = 0; i < 3; ++i) {
      ExuiImage icon = loadImage(menuIcon(0xFF3A8EE6u, i));
      ids_.push_back(exui().insertMenuItem(menu_, 0, -1, 0, icon, ByteArray::text(captions[i], 4).get(), 0xFF000000u,
                                           0xFF000000u, 80, 22, 0, 0));
      exui().destroyImage(icon);
    }
  }

  void TearDown() override {
    if (menuWindow()) realKey(VK_ESCAPE);
    pumpMessagesFor(50ms);
  }

  // Pops the menu up modally at a point of the host window, while `drive` plays the user on another thread.
  int32_t popUpWhile(const std::function<void()>& drive) {
    POINT at{40, 40};
    ::ClientToScreen(host_->window(), &at);
    std::thread user([&] {
      for (int i = 0; i < 150 && !menuWindow(); ++i) std::this_thread::sleep_for(20ms);
      std::this_thread::sleep_for(100ms);
      drive();
    });
    const int32_t result = exui().popUpMenu(menu_, 0, at.x, at.y, host_->window(), 1, 0);
    user.join();
    return result;
  }

  std::unique_ptr<ComponentHost> host_;
  int32_t menu_ = 0;
  std::vector<int32_t> ids_;
};

TEST_F(MenuTest, ItemIdsAreDistinctAndNonZero) {
  ASSERT_EQ(ids_.size(), 3u);
  EXPECT_NE(ids_[0], 0);
  EXPECT_NE(ids_[0], ids_[1]);
  EXPECT_NE(ids_[1], ids_[2]);
  EXPECT_EQ(exui().insertMenuItem(9999, 0, -1, 0, nullptr, nullptr, 0, 0, 80, 22, 0, 0), 0);
  EXPECT_EQ(exui().popUpMenu(9999, 0, 0, 0, nullptr, 1, 0), 0);
}

TEST_F(MenuTest, ClickingAnItemCallsTheCallbackWith650TheItemAndTheMenuNumber) {
  const int32_t chosen = popUpWhile([&] {
    const RECT item = menuItemRect(menu_, ids_[1]);
    ::SetCursorPos(item.left + 20, (item.top + item.bottom) / 2);
    std::this_thread::sleep_for(50ms);
    realClick(item.left + 30, (item.top + item.bottom) / 2);
  });
  EXPECT_EQ(chosen, ids_[1]);
  ASSERT_EQ(menuCalls.size(), 1u);
  EXPECT_EQ(menuCalls[0].menu, menu_);
  EXPECT_EQ(menuCalls[0].code, 650);
  EXPECT_EQ(menuCalls[0].item, ids_[1]);
  EXPECT_EQ(menuCalls[0].number, 1);
  EXPECT_EQ(menuWindow(), nullptr);
}

TEST_F(MenuTest, TheKeysChooseToo) {
  const int32_t chosen = popUpWhile([] {
    realKey(VK_DOWN);
    realKey(VK_DOWN);
    realKey(VK_DOWN);
    std::this_thread::sleep_for(50ms);
    realKey(VK_RETURN);
  });
  EXPECT_EQ(chosen, ids_[2]);
  ASSERT_EQ(menuCalls.size(), 1u);
  EXPECT_EQ(menuCalls[0].item, ids_[2]);
  EXPECT_EQ(menuCalls[0].code, 650);
}

TEST_F(MenuTest, EscapeAndAClickOutsideCloseWithoutAChoice) {
  EXPECT_EQ(popUpWhile([] { realKey(VK_ESCAPE); }), 0);
  EXPECT_EQ(popUpWhile([&] {
              RECT host{};
              ::GetWindowRect(host_->window(), &host);
              realClick(host.right - 10, host.bottom - 10);
            }),
            0);
  EXPECT_TRUE(menuCalls.empty());
  EXPECT_EQ(menuWindow(), nullptr);
}

TEST_F(MenuTest, ANonModalMenuLivesInTheMessageLoop) {
  POINT at{60, 60};
  ::ClientToScreen(host_->window(), &at);
  ASSERT_EQ(exui().popUpMenu(menu_, 0, at.x, at.y, host_->window(), 0, 0), 1);
  HWND window = menuWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(::IsWindowVisible(window));
  RECT rect{};
  ::GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, at.x);
  EXPECT_EQ(rect.top, at.y);
  const RECT item = menuItemRect(menu_, ids_[0]);
  std::thread user([&] {
    ::SetCursorPos(item.left + 20, item.top + 5);
    std::this_thread::sleep_for(50ms);
    realClick(item.left + 30, (item.top + item.bottom) / 2);
  });
  const bool called = waitUntil([] { return !menuCalls.empty(); }, 5s);
  user.join();
  ASSERT_TRUE(called);
  EXPECT_EQ(menuCalls[0].item, ids_[0]);
}

TEST_F(MenuTest, AMenuNearTheScreensEdgeOpensInwards) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  ASSERT_EQ(exui().popUpMenu(menu_, 0, width - 2, height - 2, host_->window(), 0, 0), 1);
  RECT rect{};
  ::GetWindowRect(menuWindow(), &rect);
  EXPECT_LE(rect.right, width);
  EXPECT_LE(rect.bottom, height);
  EXPECT_GT(rect.right - rect.left, 80);
}

}  // namespace
}  // namespace qova::test
