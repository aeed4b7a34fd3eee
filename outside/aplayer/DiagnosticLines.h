#pragma once
// An engine's diagnostic lines (kAPlayerConfigDiagnostics): written by its
// threads as things happen, taken by the program when it is told
// (kAPlayerEventDiagnostics, once until it reads them). Short ANSI lines.
#include <windows.h>

#include <mutex>
#include <string>

namespace qova::aplayer {

class DiagnosticLines {
 public:
  // The engine's window, which delivers the event to its handler.
  explicit DiagnosticLines(HWND window) : window_(window) {}

  // Adds one line (the '\n' is added here); from any thread.
  void add(const std::string& line);
  // Every line since the last take, each ending in '\n'; "" for none.
  std::string take();

 private:
  const HWND window_;
  std::mutex mutex_;
  std::string lines_;     // guarded by mutex_
  bool told_ = false;     // guarded by mutex_: the event is on its way or delivered, and unread
};

// The system's text for `error` (an HRESULT or a Win32 error), one line; "" when it has none.
std::string systemText(long error);
// "0x80070002 The system cannot find the file specified." for an HRESULT or Win32 error.
std::string describeError(long error);

}  // namespace qova::aplayer
