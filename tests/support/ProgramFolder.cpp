#include "tests/support/ProgramFolder.h"

#include <sstream>

#include "library/LibraryRecord.h"
#include "runtime/WholeFile.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

// Test programs live in bin/ or in a folder below it; the program in bin/.
std::string buildBinFolder() {
  std::string folder = testProgramDirectory();
  if (::GetFileAttributesA((folder + "\\qova.exe").c_str()) != INVALID_FILE_ATTRIBUTES) return folder;
  return folder.substr(0, folder.find_last_of('\\'));
}

HWND findChildOfClass(HWND parent, DWORD processId, const char* className) {
  for (HWND w : childWindows(parent)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    if (owner == processId && classNameOf(w) == className) return w;
    if (HWND inner = findChildOfClass(w, processId, className)) return inner;
  }
  return nullptr;
}

}  // namespace

ProgramFolder::ProgramFolder(EngineChoice engine) {
  const std::string bin = buildBinFolder();
  copyFileTo(bin + "\\qova.exe", file("qova.exe"));
  // What ships beside qova.exe: the component library, the play button's skins and the menu icons.
  copyFileTo(bin + "\\ExuiKrnln.dll", file("ExuiKrnln.dll"));
  ::CreateDirectoryA(file("ico").c_str(), nullptr);
  for (const char* name : {"skin_bf.ex", "skin_zt.ex", "ico\\设置.png", "ico\\删除.png", "ico\\添加.png", "ico\\退出.png"})
    copyFileTo(bin + "\\" + name, file(name));
  if (engine == EngineChoice::Recording)
    copyFileTo(bin + "\\recording\\APlayerCaller.dll", file("APlayerCaller.dll"));
  else if (engine == EngineChoice::Real)
    for (const char* name : {"APlayerCaller.dll", "APlayerDecoder.exe"}) copyFileTo(bin + "\\" + name, file(name));
}

void ProgramFolder::writeLibrary(const std::vector<Entry>& entries) const {
  std::string bytes;
  for (const Entry& e : entries) bytes += libraryRecord(e.video, e.thumbnail, e.name);
  writeWholeFile(file("spconfiguration_file.ini"), bytes);
}

std::string ProgramFolder::makeVideoFile(const std::string& name) const {
  writeWholeFile(file(name), "stands for a video");
  return file(name);
}

bool ProgramFolder::copyFromBuild(const std::string& name, const std::string& as) const {
  return copyFileTo(buildBinFolder() + "\\" + name, file(as.empty() ? name : as));
}

HWND ProgramFolder::waitForDialog(std::chrono::milliseconds timeout) const {
  HWND dialog = nullptr;
  waitUntil(
      [&] {
        dialog = process_.started() ? findProcessWindow(process_.id(), "#32770") : nullptr;
        return dialog != nullptr && ::IsWindowVisible(dialog);
      },
      timeout);
  return dialog;
}

void ProgramFolder::writeSettings(const std::string& text) const {
  writeWholeFile(file("To_configure.ini"), text);
}

TestProcess& ProgramFolder::start() {
  process_ = TestProcess(file("qova.exe"), "");
  return process_;
}

std::vector<std::string> ProgramFolder::engineCalls() const {
  std::vector<std::string> lines;
  std::istringstream text(readWholeFile(file(kRecordingLogFile)));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

bool ProgramFolder::waitForEngineCall(const std::string& prefix, std::size_t firstLine,
                                      std::chrono::milliseconds timeout) const {
  return waitUntil(
      [&] {
        auto lines = engineCalls();
        for (std::size_t i = firstLine; i < lines.size(); ++i)
          if (lines[i].rfind(prefix, 0) == 0) return true;
        return false;
      },
      timeout);
}

HWND ProgramFolder::engineWindow() const {
  if (!process_.started()) return nullptr;
  return findChildOfClass(nullptr, process_.id(), "QovaRecordingPlayer");
}

void ProgramFolder::fireEngineEvent(int code, int parameter) const {
  static const UINT message = ::RegisterWindowMessageA(kRecordingFireMessage);
  HWND window = engineWindow();
  // A message sent from another thread is handled only while the window
  // thread waits for its next message, so the open has returned by then.
  ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
  ::PostMessageA(window, message, static_cast<WPARAM>(code), static_cast<LPARAM>(parameter));
}

}  // namespace qova::test
