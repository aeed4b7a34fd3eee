#include "outside/aplayer/DiagnosticLines.h"

#include <cstdio>
#include <utility>

#include "outside/aplayer/APlayerContract.h"
#include "outside/aplayer/PlaybackMessages.h"

namespace qova::aplayer {
namespace {

// Lines no one reads (a program that ignores the event) stop growing here.
constexpr size_t kMostKeptBytes = 64 * 1024;

}  // namespace

void DiagnosticLines::add(const std::string& line) {
  bool tell = false;
  {
    std::lock_guard lock(mutex_);
    if (lines_.size() + line.size() < kMostKeptBytes) lines_ += line + '\n';
    tell = !std::exchange(told_, true);
  }
  if (tell) ::PostMessageA(window_, kHandlerEventMessage, kAPlayerEventDiagnostics, 0);
}

std::string DiagnosticLines::take() {
  std::lock_guard lock(mutex_);
  told_ = false;
  return std::exchange(lines_, {});
}

std::string systemText(long error) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(error), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length && text ? std::string(text, length) : std::string();
  if (text) ::LocalFree(text);
  for (char& c : result)
    if (c == '\r' || c == '\n') c = ' ';
  while (!result.empty() && result.back() == ' ') result.pop_back();
  return result;
}

std::string describeError(long error) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(error));
  const std::string text = systemText(error);
  return text.empty() ? code : std::string(code) + " " + text;
}

}  // namespace qova::aplayer
