// The notification-area icon's record, the events it makes of the owner
// window's messages and the icon decoding, against Wine's real shell functions.
#include "shell/TrayIcon.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace {

using qova::TrayIcon;

std::vector<UINT> gOriginalMessages;
std::vector<int32_t> gEvents;
const TrayIcon* gTray = nullptr;  // the icon whose events the owner's procedure delivers

// The owner window's procedure: the icon's messages go to the icon, the rest are recorded.
LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gTray && gTray->deliver(message, lParam)) return 0;
  gOriginalMessages.push_back(message);
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void recordEvent(int32_t code) { gEvents.push_back(code); }

HWND makeOwner() {
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrayOwnerTest";
    return ::RegisterClassA(&wc);
  }();
  (void)atom;
  return ::CreateWindowExA(0, "TrayOwnerTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

bool received(UINT message) {
  return std::find(gOriginalMessages.begin(), gOriginalMessages.end(), message) !=
         gOriginalMessages.end();
}

class Tray : public ::testing::Test {
 protected:
  void SetUp() override {
    gOriginalMessages.clear();
    gEvents.clear();
    owner = makeOwner();
  }
  void TearDown() override {
    gTray = nullptr;  // the test's icon is gone already
    if (::IsWindow(owner)) ::DestroyWindow(owner);
  }
  HWND owner = nullptr;
};

TEST_F(Tray, AddFillsTheRecordAndCutsTheTipAt127Bytes) {
  TrayIcon tray;
  tray.add(owner, {}, false, std::string(200, 'x'));
  const NOTIFYICONDATAA& data = tray.iconData();
  EXPECT_EQ(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
  EXPECT_EQ(data.hWnd, owner);
  EXPECT_EQ(data.uID, 1u);
  EXPECT_EQ(data.uFlags, 0x17u);
  EXPECT_EQ(data.uCallbackMessage, 11685u);
  EXPECT_EQ(data.uTimeout, 10000u);
  EXPECT_EQ(std::string(data.szTip), std::string(127, 'x'));
  EXPECT_EQ(data.hIcon, nullptr) << "the owner has no small icon";
  EXPECT_EQ(tray.ownerWindow(), owner);
}

TEST_F(Tray, AddRefusesSomethingThatIsNotAWindow) {
  TrayIcon tray;
  EXPECT_EQ(tray.add(reinterpret_cast<HWND>(0x1234), {}, false, "QOVA_壁纸"), FALSE);
  EXPECT_EQ(tray.ownerWindow(), nullptr);
  EXPECT_EQ(tray.iconData().cbSize, 0u);
}

TEST_F(Tray, TipAndBalloonTextsKeepTheirOldValueWhenEmptyAndAreCut) {
  TrayIcon tray;
  tray.add(owner, {}, false, "QOVA_壁纸");
  EXPECT_STREQ(tray.iconData().szTip, "QOVA_壁纸");
  tray.setTip("");
  EXPECT_STREQ(tray.iconData().szTip, "QOVA_壁纸");
  tray.showBalloon(std::string(70, 't'), "body", NIIF_INFO, 0);
  EXPECT_EQ(std::string(tray.iconData().szInfoTitle), std::string(63, 't'));
  EXPECT_STREQ(tray.iconData().szInfo, "body");
  EXPECT_EQ(tray.iconData().uTimeout, 3000u);
  EXPECT_EQ(tray.iconData().dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  tray.showBalloon("", "", NIIF_WARNING, 5000);
  EXPECT_STREQ(tray.iconData().szInfo, "body");
  EXPECT_EQ(tray.iconData().uTimeout, 5000u);
}

TEST_F(Tray, ShellCallbacksReachTheHandlerAndNotTheRestOfTheProcedure) {
  TrayIcon tray;
  gTray = &tray;
  tray.add(owner, {}, false, "tip");
  tray.setEventHandler(recordEvent, true);
  ::SendMessageA(owner, 11685, 1, WM_LBUTTONUP);
  ::SendMessageA(owner, 11685, 1, WM_RBUTTONUP);
  ::SendMessageA(owner, tray.taskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(gEvents, (std::vector<int32_t>{514, 517, 1120}));
  EXPECT_FALSE(received(11685));
  EXPECT_FALSE(received(tray.taskbarCreatedMessage()));
  ::DestroyWindow(owner);
  EXPECT_EQ(gEvents.back(), 1130);
  EXPECT_TRUE(received(WM_DESTROY)) << "WM_DESTROY still reaches the window's own procedure";
}

TEST_F(Tray, WithoutAHandlerTheCallbackGoesOnLikeAnyMessage) {
  TrayIcon tray;
  gTray = &tray;
  tray.add(owner, {}, false, "tip");
  tray.setEventHandler(recordEvent, false);
  ::SendMessageA(owner, 11685, 1, WM_LBUTTONUP);
  EXPECT_TRUE(gEvents.empty());
  EXPECT_TRUE(received(11685));
}

TEST_F(Tray, NeitherSubclassesTheOwnerNorDeliversAfterRemove) {
  const LONG_PTR original = ::GetWindowLongPtrA(owner, GWLP_WNDPROC);
  TrayIcon tray;
  gTray = &tray;
  tray.add(owner, {}, false, "tip");
  tray.setEventHandler(recordEvent, true);
  EXPECT_EQ(::GetWindowLongPtrA(owner, GWLP_WNDPROC), original);
  tray.remove();
  ::SendMessageA(owner, 11685, 1, WM_LBUTTONUP);
  EXPECT_TRUE(gEvents.empty());
  EXPECT_TRUE(received(11685)) << "the window's own procedure had it";
}

TEST_F(Tray, IconsAreMadeFromWholeIconFilesOnly) {
  const std::string ico = qova::readWholeFile(qova::programFile("images\\logo.ico"));
  ASSERT_GT(ico.size(), 22u);
  int width = -1, height = -1;
  HICON icon = TrayIcon::iconFromIcoBytes(ico, 0, &width, &height);
  EXPECT_NE(icon, nullptr);
  EXPECT_EQ(width, 16);
  EXPECT_EQ(height, 16);
  if (icon) ::DestroyIcon(icon);

  EXPECT_EQ(TrayIcon::iconFromIcoBytes(ico.substr(0, ico.size() - 1), 0, nullptr, nullptr), nullptr);
  EXPECT_EQ(TrayIcon::iconFromIcoBytes(ico.substr(0, 10), 0, nullptr, nullptr), nullptr);
  EXPECT_EQ(TrayIcon::iconFromIcoBytes(ico, 1, nullptr, nullptr), nullptr) << "no second image";
  EXPECT_EQ(TrayIcon::iconFromIcoBytes("", 0, nullptr, nullptr), nullptr);
  std::string pointsAway = ico;
  pointsAway[18] = '\x7F';  // the image offset's high bytes
  pointsAway[19] = '\x7F';
  EXPECT_EQ(TrayIcon::iconFromIcoBytes(pointsAway, 0, nullptr, nullptr), nullptr);

  TrayIcon tray;
  tray.add(owner, {}, false, "tip");
  EXPECT_EQ(tray.setIcon("garbage"), FALSE);
  EXPECT_EQ(tray.iconData().hIcon, nullptr) << "the old icon is kept";
}

// A notification area of this test's own windows, laid out as the shell's:
// "Shell_TrayWnd" > "TrayNotifyWnd" > "SysPager" > "ToolbarWindow32", and
// "NotifyIconOverflowWindow" > "ToolbarWindow32". Each toolbar records the
// pointer moves it is sent.
struct RecordedMoves {
  HWND toolbar = nullptr;
  std::vector<POINT> points;
};
RecordedMoves gTrayMoves, gOverflowMoves;

LRESULT CALLBACK toolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE)
    for (RecordedMoves* moves : {&gTrayMoves, &gOverflowMoves})
      if (moves->toolbar == window) moves->points.push_back({LOWORD(lParam), HIWORD(lParam)});
  return ::DefWindowProcA(window, message, wParam, lParam);
}

class StandInNotificationArea {
 public:
  StandInNotificationArea() {
    for (const char* name : {"Shell_TrayWnd", "TrayNotifyWnd", "SysPager", "ToolbarWindow32", "NotifyIconOverflowWindow"}) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = toolbarProc;
      wc.hInstance = ::GetModuleHandleA(nullptr);
      wc.lpszClassName = name;
      ::RegisterClassA(&wc);
    }
    tray_ = create("Shell_TrayWnd", nullptr, 400, 40);
    HWND notify = create("TrayNotifyWnd", tray_, 200, 40);
    HWND pager = create("SysPager", notify, 100, 40);
    gTrayMoves = {create("ToolbarWindow32", pager, 40, 20), {}};
    overflow_ = create("NotifyIconOverflowWindow", nullptr, 100, 100);
    gOverflowMoves = {create("ToolbarWindow32", overflow_, 10, 6), {}};
  }
  ~StandInNotificationArea() {
    ::DestroyWindow(tray_);
    ::DestroyWindow(overflow_);
  }
  // Whether the lookups by class find these windows before any of the system's.
  bool foundFirst() const {
    return TrayIcon::trayToolbar() == gTrayMoves.toolbar && TrayIcon::overflowToolbar() == gOverflowMoves.toolbar;
  }

 private:
  static HWND create(const char* name, HWND parent, int width, int height) {
    return ::CreateWindowExA(0, name, "", parent ? WS_CHILD : WS_POPUP, 0, 0, width, height, parent, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
  }
  HWND tray_ = nullptr;
  HWND overflow_ = nullptr;
};

// Every other pixel of the toolbar, row by row: the shell drops an icon of a
// process that ended when the pointer passes over it.
std::vector<POINT> everyOtherPixel(int width, int height) {
  std::vector<POINT> points;
  for (int y = 2; y <= height / 2 * 2; y += 2)
    for (int x = 2; x <= width / 2 * 2; x += 2) points.push_back({x, y});
  return points;
}

bool samePoints(const std::vector<POINT>& a, const std::vector<POINT>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](POINT p, POINT q) { return p.x == q.x && p.y == q.y; });
}

TEST_F(Tray, SweepingPassesThePointerOverEveryIconOfTheChosenToolbar) {
  StandInNotificationArea area;
  ASSERT_TRUE(area.foundFirst());
  TrayIcon::sweepDeadIcons(false);
  EXPECT_TRUE(samePoints(gTrayMoves.points, everyOtherPixel(40, 20))) << gTrayMoves.points.size() << " moves";
  EXPECT_TRUE(gOverflowMoves.points.empty());

  gTrayMoves.points.clear();
  TrayIcon::sweepDeadIcons(true);
  EXPECT_TRUE(samePoints(gOverflowMoves.points, everyOtherPixel(10, 6))) << gOverflowMoves.points.size() << " moves";
  EXPECT_TRUE(gTrayMoves.points.empty());
}

}  // namespace
