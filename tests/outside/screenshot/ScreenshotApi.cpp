#include "tests/outside/screenshot/ScreenshotApi.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <regex>

#include "runtime/OutsideFunction.h"
#include "runtime/PictureDecoding.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"

namespace qova::test {

ScreenshotFunction screenshotExport() {
  static const OutsideFunction<ScreenshotFunction> function(kScreenshotLibrary, kScreenshotExport);
  return function.get();
}

std::optional<ScreenshotAnswer> makeThumbnail(const char* videoPath, std::chrono::milliseconds limit) {
  const ScreenshotFunction capture = screenshotExport();
  const auto start = std::chrono::steady_clock::now();
  // The call runs on a thread of the system's own, not a std::thread: under Wine on a busy
  // machine a detached std::thread sometimes never started while another was ending.
  // Nothing of the call is touched after its event is set, so it may live on this stack: on a
  // timeout the process ends at once.
  struct Call {
    ScreenshotFunction capture = nullptr;
    std::optional<std::string> path;
    std::optional<std::string> answer;
    std::atomic<int> reached{0};  // 1 the thread runs, 2 the DLL returned
    UniqueHandle answered{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  } call;
  call.capture = capture;
  if (videoPath) call.path = videoPath;
  const auto run = [](void* context) -> DWORD {
    Call& c = *static_cast<Call*>(context);
    c.reached = 1;
    const char* text = c.capture(c.path ? c.path->c_str() : nullptr);
    if (text) c.answer = text;
    c.reached = 2;
    ::SetEvent(c.answered.get());
    return 0;
  };
  const UniqueHandle thread(::CreateThread(nullptr, 0, run, &call, 0, nullptr));
  if (!thread || ::WaitForSingleObject(call.answered.get(), static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    static const char* const kReached[] = {"its thread never ran", "the DLL never returned",
                                           "the DLL returned, but the answer never arrived"};
    std::fprintf(stderr, "screenshot.dll did not answer for \"%s\" within %lld ms: %s\n",
                 videoPath ? videoPath : "(null)", static_cast<long long>(limit.count()),
                 kReached[call.reached.load()]);
    std::fflush(stderr);
    std::_Exit(3);
  }
  const std::optional<std::string> text = call.answer;
  if (!text) return std::nullopt;
  ScreenshotAnswer answer;
  answer.text = *text;
  answer.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::smatch match;
  if (std::regex_search(answer.text, match, std::regex("#<(.*?)>#<(.*?)>"))) {
    answer.matched = true;
    answer.name = match[1];
    answer.image = match[2];
  }
  return answer;
}

double Picture::meanBrightness() const {
  return (meanChannel(0) + meanChannel(1) + meanChannel(2)) / 3.0;
}

double Picture::meanChannel(int channel) const {
  if (bgra.empty()) return 0.0;
  double sum = 0.0;
  for (size_t i = static_cast<size_t>(channel); i < bgra.size(); i += 4) sum += bgra[i];
  return sum / static_cast<double>(bgra.size() / 4);
}

double Picture::differenceFrom(const Picture& other) const {
  if (width != other.width || height != other.height || bgra.empty()) return 255.0;
  double sum = 0.0;
  for (size_t i = 0; i < bgra.size(); ++i)
    if (i % 4 != 3) sum += std::abs(int(bgra[i]) - int(other.bgra[i]));
  return sum / static_cast<double>(bgra.size() / 4 * 3);
}

std::optional<Picture> decodePictureFile(const std::string& path) {
  const std::string bytes = readWholeFile(path);
  UniqueGdiObject bitmap(decodePictureToBitmap(bytes));
  DIBSECTION section{};
  if (!bitmap || ::GetObjectA(bitmap.get(), sizeof section, &section) != sizeof section || !section.dsBm.bmBits)
    return std::nullopt;
  Picture picture;
  picture.width = section.dsBm.bmWidth;
  picture.height = std::abs(section.dsBm.bmHeight);
  const auto* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
  picture.bgra.assign(bits, bits + static_cast<size_t>(picture.width) * picture.height * 4);
  return picture;
}

bool isJpegFile(const std::string& path) { return readWholeFile(path).rfind("\xFF\xD8\xFF", 0) == 0; }

std::string mediaFile(const std::string& name) { return programDirectory() + "\\media\\" + name; }

std::string thumbnailFolder() { return programFile(kThumbnailFolder); }

}  // namespace qova::test
