// The one export of screenshot.dll (see ScreenshotContract.h).
#include <windows.h>

#include <mutex>
#include <string>

#include "outside/screenshot/ScreenshotContract.h"
#include "outside/screenshot/ThumbnailMaker.h"

extern "C" const char* WINAPI captureVideoScreenshot(const char* videoPath) {
  // The answer lives until the next call, from whichever thread; calls take turns.
  static std::mutex turn;
  static std::string answer;
  const std::lock_guard hold(turn);
  try {
    std::optional<std::string> text = qova::screenshot::makeThumbnail(videoPath);
    if (!text) return nullptr;
    answer = std::move(*text);
    return answer.c_str();
  } catch (...) {
    // Out of memory: no answer, never an exception across the DLL boundary.
    return nullptr;
  }
}
