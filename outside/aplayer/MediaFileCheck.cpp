#include "outside/aplayer/MediaFileCheck.h"

#include <windows.h>

#include "outside/aplayer/CutShortMedia.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

bool mayBePlayable(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size)) return false;
  const ReadAt readAt = [&](uint64_t offset, uint8_t* buffer, size_t length) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    return ::SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN) &&
           ::ReadFile(file.get(), buffer, static_cast<DWORD>(length), &read, nullptr) && read == length;
  };
  return !mediaFileIsCutShort(static_cast<uint64_t>(size.QuadPart), readAt);
}

}  // namespace qova::aplayer
