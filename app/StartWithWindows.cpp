#include "app/StartWithWindows.h"

#include <string_view>

#include "engines/ExuiBinding.h"
#include "runtime/AnsiText.h"
#include "runtime/ProgramDirectory.h"
#include "shell/Layouts.h"

namespace qova {
namespace {

// The Run value's text; empty when there is none.
std::wstring runValue() {
  wchar_t value[2048] = {};
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return {};
  return value;
}

void setCaption(HWND button, std::u16string_view caption) {
  setComponentProperty(button, kExuiPropCaption, exui::utf16Bytes(caption, 2));
}

std::u16string_view onButtonCaption(StartWithWindows state) {
  switch (state) {
    case StartWithWindows::On: return u"已设置开机启动";
    case StartWithWindows::Stale: return u"开机启动已失效";
    case StartWithWindows::Off: break;
  }
  return u"设置开机启动";
}

}  // namespace

std::wstring runCommandForThisProgram() { return L"\"" + programExecutablePath() + L"\""; }

StartWithWindows startWithWindowsState() {
  const std::wstring value = runValue();
  if (value.empty()) return StartWithWindows::Off;
  return sameTextIgnoringCase(value, runCommandForThisProgram()) ? StartWithWindows::On : StartWithWindows::Stale;
}

bool turnOnStartWithWindows() {
  const std::wstring command = runCommandForThisProgram();
  return ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, REG_SZ, command.c_str(),
                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool turnOffStartWithWindows() {
  const LSTATUS status = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

void showStartWithWindowsState(HWND mainWindow) {
  setCaption(controlByName(mainWindow, kStartWithWindowsOnButtonName), onButtonCaption(startWithWindowsState()));
  setCaption(controlByName(mainWindow, kStartWithWindowsOffButtonName), u"取消开机启动");
}

void chooseStartWithWindows(HWND mainWindow, bool on) {
  if (on) turnOnStartWithWindows();
  else turnOffStartWithWindows();
  showStartWithWindowsState(mainWindow);
}

}  // namespace qova
