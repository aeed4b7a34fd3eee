#include "outside/aplayer/DecodedFile.h"

namespace qova::aplayer {

std::optional<FileIdentity> identifyFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return FileIdentity{(uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                      (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

bool DecodedFile::isSameFile(const std::wstring& path) const {
  if (path != path_) return false;
  const std::optional<FileIdentity> now = identifyFile(path);
  return now && *now == identity_;
}

DecodedFile::Read playbackRead(MediaReader::Read read) {
  switch (read) {
    case MediaReader::Read::Sample:
      return DecodedFile::Read::Sample;
    case MediaReader::Read::EndOfStream:
      return DecodedFile::Read::EndOfStream;
    case MediaReader::Read::Failed:
    case MediaReader::Read::NoRoom:
      break;
  }
  return DecodedFile::Read::Failed;
}

}  // namespace qova::aplayer
