#include "tests/support/ShellStandin.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "runtime/WholeFile.h"

namespace qova::test {
namespace {

constexpr UINT kSpawnWorkerMessage = 0x52C;
constexpr std::chrono::seconds kWindowsGoneTimeout{10};

bool fileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string parentFolder(const std::string& folder) {
  const auto slash = folder.find_last_of('\\');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;  // a last line without its newline is still being written
}

// The hex value after " key=" (or "key=" at the start) in `line`; null when absent.
HWND valueOf(std::string_view line, std::string_view key) {
  const std::string field = std::string(key) + "=";
  std::size_t at = line.starts_with(field) ? 0 : line.find(" " + field);
  if (at == std::string_view::npos) return nullptr;
  at += line[at] == ' ' ? field.size() + 1 : field.size();
  const std::string digits(line.substr(at, line.find(' ', at) - at));
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(digits.c_str(), nullptr, 16)));
}

std::string commandLine(const ShellStandinOptions& options, const std::string& logPath) {
  std::string arguments =
      options.layout == ShellLayout::Win11_24H2 ? "--layout=24h2" : "--layout=classic";
  if (options.ignoreWorkerRequest) arguments += " --ignore-52c";
  if (options.decoy) arguments += " --decoy";
  if (options.twoWorkers) arguments += " --two-workers";
  // The stand-in ends with the test program, even one that crashes.
  arguments += " --exit-with=" + std::to_string(::GetCurrentProcessId());
  return arguments + " \"--log=" + logPath + "\"";
}

}  // namespace

ShellStandin::ShellStandin(ShellStandinOptions options) : options_(options) { start(); }

ShellStandin::~ShellStandin() { kill(); }

std::string ShellStandin::executablePath() {
  const std::string here = testProgramDirectory();
  for (const std::string& folder : {here, parentFolder(here)}) {
    for (const char* name : {"\\fixtures\\shell_standin.exe", "\\shell_standin.exe"})
      if (fileExists(folder + name)) return folder + name;
  }
  return {};
}

bool ShellStandin::start() {
  logPath_ = folder_.file("shell_standin_" + std::to_string(++runs_) + ".log");
  startProblem_.clear();
  const std::string exe = executablePath();
  if (exe.empty()) {
    startProblem_ = "shell_standin.exe not found in or beside " + testProgramDirectory() +
                    " (nor in a fixtures folder there); is shell_standin in the test's DEPENDS?";
    return false;
  }
  process_ = TestProcess(exe, commandLine(options_, logPath_));
  if (!process_.started()) {
    startProblem_ = "could not start " + exe + ", error " + std::to_string(::GetLastError());
    return false;
  }
  waitUntil([this] { return ready() || !process_.running(); }, options_.readyTimeout);
  if (!ready()) {
    const auto code = process_.waitForExit(std::chrono::milliseconds(0));
    startProblem_ = code ? "the stand-in ended with exit code " + std::to_string(*code)
                         : "the stand-in did not get ready in time";
  }
  return ready();
}

bool ShellStandin::ready() const { return process_.running() && progman() != nullptr; }

HWND ShellStandin::handleFromLog(std::string_view linePrefix, std::string_view key) const {
  const std::vector<std::string> lines = log();
  for (auto line = lines.rbegin(); line != lines.rend(); ++line)
    if (line->starts_with(linePrefix)) return valueOf(*line, key);
  return nullptr;
}

HWND ShellStandin::progman() const { return handleFromLog("ready ", "progman"); }
HWND ShellStandin::defView() const { return handleFromLog("ready ", "defview"); }
HWND ShellStandin::worker() const { return handleFromLog("worker=", "worker"); }
HWND ShellStandin::icons() const { return handleFromLog("worker=", "icons"); }
HWND ShellStandin::decoy() const { return handleFromLog("decoy=", "decoy"); }
HWND ShellStandin::lowerWorker() const { return handleFromLog("lower-worker=", "lower-worker"); }

HWND ShellStandin::requestWorker() const {
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutA(progman(), kSpawnWorkerMessage, 0, 0, SMTO_NORMAL, 5000, &ignored);
  return worker();
}

std::vector<std::string> ShellStandin::log() const {
  if (logPath_.empty()) return {};
  return splitLines(readWholeFile(logPath_));
}

std::vector<std::string> ShellStandin::logSince(std::size_t firstLine) const {
  std::vector<std::string> lines = log();
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(firstLine, lines.size())));
  return lines;
}

bool ShellStandin::hasLogLine(std::string_view line) const {
  for (const std::string& logged : log())
    if (logged == line) return true;
  return false;
}

std::size_t ShellStandin::countLogLines(std::string_view prefix) const {
  std::size_t count = 0;
  for (const std::string& logged : log())
    if (logged.starts_with(prefix)) ++count;
  return count;
}

bool ShellStandin::waitForLogLine(std::string_view prefix, std::chrono::milliseconds timeout,
                                  std::size_t firstLine) const {
  return waitUntil(
      [&] {
        for (const std::string& logged : logSince(firstLine))
          if (logged.starts_with(prefix)) return true;
        return false;
      },
      timeout);
}

std::string ShellStandin::logText() const {
  const std::string problem = startProblem_.empty() ? "" : startProblem_ + "\n";
  return problem + "shell stand-in log " + logPath_ + ":\n" + readWholeFile(logPath_);
}

void ShellStandin::kill() {
  if (!process_.running()) return;
  const HWND windows[] = {progman(), worker(), icons()};
  process_.kill();
  // The process handle is signalled a moment before the server forgets its windows.
  waitUntil(
      [&] {
        for (HWND w : windows)
          if (w && ::IsWindow(w)) return false;
        return true;
      },
      kWindowsGoneTimeout);
}

bool ShellStandin::quit(std::chrono::milliseconds timeout) {
  if (!process_.running()) return false;
  ::PostMessageA(progman(), WM_CLOSE, 0, 0);
  const auto code = process_.waitForExit(timeout);
  return code && *code == 0;
}

bool ShellStandin::restart() {
  kill();
  return start();
}

std::string ShellStandin::hex(HWND window) {
  char text[24];
  std::snprintf(text, sizeof text, "%llx",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

}  // namespace qova::test
