#include "outside/media/MediaFileCheck.h"

#include <windows.h>

#include "outside/media/CutShortMedia.h"
#include "runtime/UniqueHandle.h"

namespace qova::media {

MediaFileVerdict checkMediaFile(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size)) return MediaFileVerdict::Unreadable;
  const ReadAt readAt = [&](uint64_t offset, uint8_t* buffer, size_t length) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    return ::ReadFile(file.get(), buffer, static_cast<DWORD>(length), &read, &at) && read == length;
  };
  return mediaFileIsCutShort(static_cast<uint64_t>(size.QuadPart), readAt) ? MediaFileVerdict::CutShort
                                                                           : MediaFileVerdict::MayPlay;
}

bool mayBePlayable(const std::wstring& path) { return checkMediaFile(path) == MediaFileVerdict::MayPlay; }

}  // namespace qova::media
