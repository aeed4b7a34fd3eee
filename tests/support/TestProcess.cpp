#include "tests/support/TestProcess.h"

#include <thread>
#include <vector>

namespace qova::test {

TestProcess::TestProcess(const std::string& exe, const std::string& arguments,
                         const std::string& workingFolder) {
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');
  std::string folder = workingFolder;
  if (folder.empty()) {
    auto slash = exe.find_last_of('\\');
    if (slash != std::string::npos) folder = exe.substr(0, slash);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    id_ = info.dwProcessId;
  }
}

TestProcess::~TestProcess() { kill(); }

std::optional<DWORD> TestProcess::waitForExit(std::chrono::milliseconds timeout) {
  if (!process_) return std::nullopt;
  if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

bool TestProcess::running() const {
  return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void TestProcess::kill() {
  if (running()) {
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    pumpMessagesFor(std::chrono::milliseconds(20));
  }
}

void pumpMessagesFor(std::chrono::milliseconds duration) {
  auto deadline = std::chrono::steady_clock::now() + duration;
  do {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (std::chrono::steady_clock::now() < deadline);
}

}  // namespace qova::test
