#include "outside/screenshot/ThumbnailMaker.h"

#include <windows.h>
#include <objbase.h>

#include <vector>

#include "outside/screenshot/CaptureJob.h"
#include "outside/screenshot/ImageScaling.h"
#include "outside/screenshot/JpegEncoding.h"
#include "outside/screenshot/Placeholder.h"
#include "outside/screenshot/ScreenshotContract.h"
#include "outside/screenshot/VideoNaming.h"
#include "runtime/AnsiText.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace qova::screenshot {
namespace {

bool isSystemLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

// COM for WIC on the caller's thread. A thread that already chose its
// apartment keeps it (RPC_E_CHANGED_MODE); only a successful call is balanced.
class CallerCom {
 public:
  CallerCom() : started_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~CallerCom() {
    if (started_) ::CoUninitialize();
  }
  CallerCom(const CallerCom&) = delete;
  CallerCom& operator=(const CallerCom&) = delete;

 private:
  bool started_;
};

// The absolute form of `path`; empty on failure.
std::string fullPathOf(const char* path) {
  std::vector<char> buffer(MAX_PATH);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = ::GetFullPathNameA(path, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
  return {};
}

uint64_t joined(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

// Identity of an existing file (not a folder); nullopt when there is none.
std::optional<uint64_t> identityOfFile(const std::string& fullPath) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(fullPath.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return videoIdentity(fullPath, joined(data.nFileSizeHigh, data.nFileSizeLow),
                       joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime));
}

// The thumbnail folder beside the executable, created when missing; empty when it cannot be.
std::string thumbnailFolder() {
  if (programDirectory().empty()) return {};
  const std::string folder = programFile(kThumbnailFolder);
  if (!::CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
  return folder;
}

media::RgbImage thumbnailPicture(CaptureResult capture, const std::string& fullPath) {
  if (!capture.frame.empty()) {
    const int height = heightForWidth(kThumbnailWidth, capture.frame.width, capture.frame.height,
                                      capture.pixelAspectNumerator, capture.pixelAspectDenominator);
    return resizeImage(capture.frame, kThumbnailWidth, height);
  }
  const bool sound = capture.soundOnly || hasSoundExtension(fullPath, isSystemLeadByte);
  return drawPlaceholder(sound ? PlaceholderKind::Audio : PlaceholderKind::Video);
}

}  // namespace

std::optional<std::string> makeThumbnail(const char* videoPath) {
  if (!videoPath || !*videoPath) return std::nullopt;
  const std::string fullPath = fullPathOf(videoPath);
  const std::optional<uint64_t> identity = fullPath.empty() ? std::nullopt : identityOfFile(fullPath);
  if (!identity) return std::nullopt;
  const std::string folder = thumbnailFolder();
  if (folder.empty()) return std::nullopt;

  const std::string name = videoDisplayName(fullPath, isSystemLeadByte);
  const std::string imagePath = folder + "\\" + thumbnailFileName(name, *identity, isSystemLeadByte);

  const CallerCom com;
  const media::RgbImage picture = thumbnailPicture(captureWithin(ansiToWide(fullPath)), fullPath);
  const std::string jpeg = encodeJpeg(picture);
  if (jpeg.empty() || !replaceWholeFile(imagePath, jpeg)) return std::nullopt;
  return "#<" + name + ">#<" + imagePath + ">";
}

}  // namespace qova::screenshot
