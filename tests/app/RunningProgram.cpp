#include "tests/app/RunningProgram.h"

#include <algorithm>

#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

void postRightClick(HWND component, int x, int y) {
  ::PostMessageA(component, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  ::PostMessageA(component, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
  ::PostMessageA(component, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace

const char* menuName(ProgramMenu menu) {
  switch (menu) {
    case ProgramMenu::PopupWindowStandard: return "PopupWindowStandard";
    case ProgramMenu::MainWindowStandard: return "MainWindowStandard";
    case ProgramMenu::Skinned: return "Skinned";
  }
  return "?";
}

void RunningProgram::SetUp() {
  ASSERT_TRUE(shell.ready()) << shell.logText();
  for (const char* name : {"海边.mp4", "城市.mp4", "雪山.mp4"}) videos.push_back(program.makeVideoFile(name));
  program.writeLibrary({{videos[0], "", "海边"}, {videos[1], "", "城市"}, {videos[2], "", "雪山"}});
}

void RunningProgram::start(const std::string& settings) {
  if (!settings.empty()) program.writeSettings(settings);
  ASSERT_TRUE(program.start().started());
  ASSERT_TRUE(program.waitForEngineCall("APlayer_OpenA(", 0, 30s)) << "start-up did not reach the player";
  const DWORD id = program.process().id();
  ASSERT_TRUE(waitUntil([&] {
    mainWindow = findProcessWindow(id, "QovaMainWindow");
    popupWindow = findProcessWindow(id, "QovaPopupWindow");
    return mainWindow && popupWindow;
  }, 20s));
  // After the player opened its first video, the rest of start-up waits for
  // nobody: the first message handled is handled by the message loop.
  roundTrip();
}

void RunningProgram::roundTrip() const {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(popupWindow, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

void RunningProgram::postTrayEvent(LPARAM code) const {
  ::PostMessageA(popupWindow, kTrayCallbackMessage, 1, code);
}

void RunningProgram::popUpMenu(ProgramMenu menu) const {
  switch (menu) {
    case ProgramMenu::PopupWindowStandard:
      postTrayEvent(WM_RBUTTONUP);
      break;
    case ProgramMenu::MainWindowStandard:
      postRightClick(::FindWindowExA(mainWindow, nullptr, "MinutesboxEx", nullptr), 100, 60);
      break;
    case ProgramMenu::Skinned: {
      HWND list = ::FindWindowExA(popupWindow, nullptr, "IcoListboxEx", nullptr);
      RECT client{};
      ::GetClientRect(list, &client);
      // Three items fill the first row; the bottom left corner is empty space.
      postRightClick(list, 40, client.bottom - 20);
      break;
    }
  }
}

RECT RunningProgram::mainWindowRect() const {
  RECT rect{};
  ::GetWindowRect(mainWindow, &rect);
  return rect;
}

std::vector<std::string> RunningProgram::engineCallsSince(size_t from) const {
  const std::vector<std::string> calls = program.engineCalls();
  return {calls.begin() + static_cast<std::ptrdiff_t>(std::min(from, calls.size())), calls.end()};
}

RECT RunningProgram::workArea() {
  RECT area{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace qova::test
