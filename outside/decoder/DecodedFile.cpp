#include "outside/decoder/DecodedFile.h"

namespace qova::aplayer {

std::optional<FileIdentity> identifyFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return FileIdentity{(uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                      (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

std::string pictureTooLarge(int width, int height) {
  const std::string most = std::to_string(kLargestPictureSide);
  return "the picture is " + std::to_string(width) + "x" + std::to_string(height) + ", larger than " + most + "x" +
         most;
}

bool DecodedFile::isSameFile(const std::wstring& path) const {
  if (path != path_) return false;
  const std::optional<FileIdentity> now = identifyFile(path);
  return now && *now == identity_;
}

}  // namespace qova::aplayer
