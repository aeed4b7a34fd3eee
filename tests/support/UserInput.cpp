#include "tests/support/UserInput.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "runtime/UniqueHandle.h"
#include "tests/outside/aplayer/ScreenPixels.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

bool containsScreenPoint(HWND window, POINT screen) {
  RECT r{};
  return ::GetWindowRect(window, &r) && ::PtInRect(&r, screen);
}

LPARAM clientPoint(HWND window, POINT screen) {
  POINT p = screen;
  ::ScreenToClient(window, &p);
  return MAKELPARAM(p.x, p.y);
}

// The first visible window of `processId` with this class, or null.
HWND visibleProcessWindow(DWORD processId, const char* className) {
  for (HWND w : topLevelWindowsOf(processId))
    if (classNameOf(w) == className && ::IsWindowVisible(w)) return w;
  return nullptr;
}

HWND waitForVisibleWindow(DWORD processId, const char* className, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  waitUntil([&] { return (found = visibleProcessWindow(processId, className)) != nullptr; }, timeout);
  return found;
}

void postKey(HWND window, WORD key) {
  ::PostMessageA(window, WM_KEYDOWN, key, 1);
  ::PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

uint32_t screenPixelOf(COLORREF colour) {
  return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (static_cast<uint32_t>(GetGValue(colour)) << 8) |
         GetBValue(colour);
}

// The rows of a standard menu that show its selected item: the first run of rows painted mostly
// in the system's selection colour (its text covers the rest).
struct SelectedRows {
  int top = 0;
  int height = 0;
};

std::optional<SelectedRows> selectedRowsOf(HWND menu) {
  const ScreenImage image = captureClientArea(menu);
  const uint32_t fills[] = {screenPixelOf(::GetSysColor(COLOR_HIGHLIGHT)),
                            screenPixelOf(::GetSysColor(COLOR_MENUHILIGHT))};
  const auto selected = [&](int y) {
    const RECT row{0, y, image.width, y + 1};
    return image.share(row, [&](uint32_t p) { return p == fills[0] || p == fills[1]; }) > 0.5;
  };
  int y = 0;
  while (y < image.height && !selected(y)) ++y;
  if (y == image.height) return std::nullopt;
  SelectedRows rows{y, 0};
  while (y < image.height && selected(y)) ++y;
  rows.height = y - rows.top;
  return rows;
}

INPUT keyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (key == VK_END) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return input;
}

bool runs(DWORD processId) {
  UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  return process && ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

enum class MenuOutcome { Stuck, ClosedUnchosen, Chosen };

// How the last menu that closed unchosen did, for the log of a failed attempt.
const char* unchosenBecause = "";
MenuOutcome closedUnchosen(const char* because) {
  unchosenBecause = because;
  return MenuOutcome::ClosedUnchosen;
}

// How a menu of the process that has just closed ended. A menu that the loss of activation
// ended leaves another window active, outside the program; a chosen item leaves the active
// window as it was all along or inside the program, or ends the program. (A choice the menu
// took just before such a change is made again: harmless here.)
MenuOutcome closedMenuOutcome(DWORD processId, HWND activeWhenShown, HWND activeWhileChoosing) {
  const HWND active = ::GetForegroundWindow();
  DWORD activeOwner = 0;
  ::GetWindowThreadProcessId(active, &activeOwner);
  const bool unchanged = active == activeWhenShown && active == activeWhileChoosing;
  return unchanged || activeOwner == processId || !runs(processId)
             ? MenuOutcome::Chosen
             : closedUnchosen("it closed on the key, but another program's window became active meanwhile");
}

// The active window and whose it is, for the log of a failed attempt.
std::string activeWindowStory(DWORD processId) {
  const HWND active = ::GetForegroundWindow();
  if (!active) return "none";
  DWORD owner = 0;
  ::GetWindowThreadProcessId(active, &owner);
  if (owner == processId) return describeWindow(active) + ", the program's";
  return describeWindow(active) + (owner == ::GetCurrentProcessId() ? ", the test's" : ", another's");
}

// Whether the program's threads with windows still handle messages, for the log of a failed
// attempt: a menu that never shows is either closed at once or never asked for by a thread held elsewhere.
std::string programAnswers(DWORD processId) {
  std::vector<DWORD> threads;
  int held = 0;
  for (HWND window : topLevelWindowsOf(processId)) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (std::find(threads.begin(), threads.end(), thread) != threads.end()) continue;
    threads.push_back(thread);
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &ignored)) ++held;
  }
  return "of the program's " + std::to_string(threads.size()) + " threads with windows, " + std::to_string(held) +
         " did not answer within 3 s";
}

// Waits until the active window has stayed the same for a while: a change of it that Wine
// delivers late would close the next menu too.
void waitForSteadyActiveWindow() {
  using namespace std::chrono_literals;
  HWND seen = ::GetForegroundWindow();
  int steady = 0;
  waitUntil(
      [&] {
        pumpMessagesFor(200ms);
        HWND now = ::GetForegroundWindow();
        steady = now == seen ? steady + 1 : 0;
        seen = now;
        return steady >= 3;
      },
      10s);
}

// Opens a menu with `open` and chooses from it with `choose`, again (four times at most) when it
// closed unchosen, once the active window has settled.
bool openAndChoose(DWORD processId, const std::function<bool()>& open, const std::function<MenuOutcome()>& choose,
                   const std::function<bool()>& tookEffect, std::chrono::milliseconds timeout) {
  for (int attempt = 1; attempt <= 5; ++attempt) {
    if (attempt > 1) waitForSteadyActiveWindow();
    if (!open()) return false;
    switch (choose()) {
      case MenuOutcome::Chosen:
        if (!tookEffect || waitUntil(tookEffect, timeout)) return true;
        std::fprintf(stderr, "menu: attempt %d: it closed as chosen, but the choice took no effect\n", attempt);
        break;
      case MenuOutcome::Stuck:
        std::fprintf(stderr, "menu: attempt %d: it stayed open and could not be closed\n", attempt);
        return false;
      case MenuOutcome::ClosedUnchosen:
        std::fprintf(stderr, "menu: attempt %d: %s; active now: %s; %s\n", attempt, unchosenBecause,
                     activeWindowStory(processId).c_str(), programAnswers(processId).c_str());
        break;
    }
  }
  return false;
}

// Waits for a standard menu of the process and chooses item `index` with the keyboard.
MenuOutcome chooseStandardMenuItem(DWORD processId, int index, std::chrono::milliseconds timeout) {
  using namespace std::chrono_literals;
  HWND menu = waitForVisibleWindow(processId, "#32768", timeout);
  // A menu that a late loss of activation ended at once may never have been seen.
  if (!menu) return closedUnchosen("no menu was seen");
  const auto shown = [&] { return ::IsWindow(menu) && ::IsWindowVisible(menu); };
  // A menu that never shows it reads its keys is closed with Escape (which a loop that reads
  // them late still takes) and opened again; one that stays open even so is stuck.
  const auto stuckOrDismissed = [&] {
    postKey(menu, VK_ESCAPE);
    return waitUntil([&] { return !shown(); }, timeout) ? closedUnchosen("it never read its keys, and Escape closed it")
                                                        : MenuOutcome::Stuck;
  };
  const HWND activeWhenShown = ::GetForegroundWindow();
  // The menu shows before its loop reads the keys of its thread, and a key that comes earlier is
  // lost. Home selects the first item however often it comes: it is pressed until the first item
  // shows selected, which proves that the loop reads keys; that item's rows give every item's place.
  std::optional<SelectedRows> first;
  waitUntil(
      [&] {
        postKey(menu, VK_HOME);
        return waitUntil([&] { return (first = selectedRowsOf(menu)).has_value() || !shown(); }, 500ms);
      },
      timeout);
  if (!first) return shown() ? stuckOrDismissed() : closedUnchosen("it closed before it read a key");
  for (int i = 0; i < index; ++i) postKey(menu, VK_DOWN);
  const int wantedTop = first->top + index * first->height;
  if (!waitUntil([&] { const auto rows = selectedRowsOf(menu); return !shown() || (rows && rows->top == wantedTop); },
                 timeout) ||
      !shown())
    return shown() ? stuckOrDismissed() : closedUnchosen("it closed while the item was being selected");
  const HWND activeWhileChoosing = ::GetForegroundWindow();
  postKey(menu, VK_RETURN);
  if (!waitUntil([&] { return !shown(); }, timeout)) return MenuOutcome::Stuck;
  return closedMenuOutcome(processId, activeWhenShown, activeWhileChoosing);
}

// Waits for a skinned menu of the process and clicks item `index` (0-based) of items
// `itemHeight` high inside a frame of `padding` pixels.
MenuOutcome clickSkinnedMenuItem(DWORD processId, int index, int itemHeight, int padding,
                                 std::chrono::milliseconds timeout) {
  HWND menu = waitForVisibleWindow(processId, "ExuiMenuWindow", timeout);
  if (!menu) return closedUnchosen("no menu was seen");
  const auto shown = [&] { return ::IsWindow(menu) && ::IsWindowVisible(menu); };
  const HWND activeWhenShown = ::GetForegroundWindow();
  RECT client{};
  ::GetClientRect(menu, &client);
  const LPARAM at = MAKELPARAM(client.right / 2, padding + index * itemHeight + itemHeight / 2);
  ::PostMessageA(menu, WM_MOUSEMOVE, 0, at);
  ::PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageA(menu, WM_LBUTTONUP, 0, at);
  if (!waitUntil([&] { return !shown(); }, timeout)) return MenuOutcome::Stuck;
  return closedMenuOutcome(processId, activeWhenShown, activeWhenShown);
}

}  // namespace

HWND windowAtScreenPoint(HWND top, POINT screen) {
  if (!top || !::IsWindowVisible(top) || !containsScreenPoint(top, screen)) return nullptr;
  HWND found = top;
  for (;;) {
    HWND deeper = nullptr;
    for (HWND child : childWindows(found))  // Z order: the first one that holds the point is on top
      if (::IsWindowVisible(child) && containsScreenPoint(child, screen)) {
        deeper = child;
        break;
      }
    if (!deeper) return found;
    found = deeper;
  }
}

bool clickAt(HWND top, POINT screen, MouseButton button) {
  HWND target = windowAtScreenPoint(top, screen);
  if (!target) return false;
  ::SetCursorPos(screen.x, screen.y);
  const LPARAM at = clientPoint(target, screen);
  const bool left = button == MouseButton::Left;
  ::PostMessageA(target, WM_MOUSEMOVE, 0, at);
  ::PostMessageA(target, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, at);
  ::PostMessageA(target, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
  return true;
}

bool clickInClient(HWND top, int x, int y, MouseButton button) {
  POINT screen{x, y};
  ::ClientToScreen(top, &screen);
  return clickAt(top, screen, button);
}

void postTrayNotification(HWND owner, UINT callbackMessage, UINT iconId, UINT event) {
  ::PostMessageA(owner, callbackMessage, iconId, event);
}

bool openAndChooseStandardMenuItem(DWORD processId, const std::function<bool()>& open, int index,
                                   std::chrono::milliseconds timeout, const std::function<bool()>& tookEffect) {
  const auto choose = [&] { return chooseStandardMenuItem(processId, index, timeout); };
  return openAndChoose(processId, open, choose, tookEffect, timeout);
}

bool openAndClickSkinnedMenuItem(DWORD processId, const std::function<bool()>& open, int index, int itemHeight,
                                 int padding, std::chrono::milliseconds timeout,
                                 const std::function<bool()>& tookEffect) {
  const auto choose = [&] { return clickSkinnedMenuItem(processId, index, itemHeight, padding, timeout); };
  return openAndChoose(processId, open, choose, tookEffect, timeout);
}

void pressCtrlAlt(WORD key) {
  std::vector<INPUT> inputs = {keyInput(VK_CONTROL, false), keyInput(VK_MENU, false), keyInput(key, false),
                               keyInput(key, true), keyInput(VK_MENU, true), keyInput(VK_CONTROL, true)};
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace qova::test
