#include "library/LibraryRecord.h"

namespace qova {
namespace {
constexpr std::string_view kVideoLabel = "视频文件<";
constexpr std::string_view kThumbnailLabel = ">视频图片<";
constexpr std::string_view kNameLabel = ">视频名称<";
constexpr std::string_view kTerminator = ">\r\n";

std::string recordText(std::string_view videoPath, std::string_view thumbnailPath,
                       std::string_view name) {
  std::string text;
  text.reserve(kVideoLabel.size() + videoPath.size() + kThumbnailLabel.size() +
               thumbnailPath.size() + kNameLabel.size() + name.size() + kTerminator.size());
  text.append(kVideoLabel).append(videoPath);
  text.append(kThumbnailLabel).append(thumbnailPath);
  text.append(kNameLabel).append(name);
  text.push_back('>');
  return text;
}
}  // namespace

std::string libraryRecord(std::string_view videoPath, std::string_view thumbnailPath,
                          std::string_view name) {
  return recordText(videoPath, thumbnailPath, name) + "\r\n";
}

std::string_view libraryText(std::string_view fileBytes) {
  return fileBytes.substr(0, fileBytes.find('\0'));
}

std::string withRecordAdded(std::string_view fileBytes, std::string_view record) {
  const size_t end = libraryText(fileBytes).size();
  std::string bytes;
  bytes.reserve(fileBytes.size() + record.size());
  bytes.append(fileBytes.substr(0, end)).append(record).append(fileBytes.substr(end));
  return bytes;
}

std::string withoutRecord(std::string_view fileBytes, RecordSpan span) {
  if (span.offset > fileBytes.size()) return std::string(fileBytes);
  size_t end = span.offset + std::min(span.length, fileBytes.size() - span.offset);
  if (fileBytes.substr(end, 2) == "\r\n") end += 2;
  std::string rest(fileBytes.substr(0, span.offset));
  rest.append(fileBytes.substr(end));
  return rest;
}

RecordSpan findRecordText(std::string_view fileBytes, const FoundRecord& record, int occurrence) {
  const std::string text = recordText(record.videoPath, record.thumbnailPath, record.name);
  size_t at = fileBytes.find(text);
  for (int i = 0; i < occurrence && at != std::string_view::npos; ++i)
    at = fileBytes.find(text, at + text.size());
  if (at == std::string_view::npos) return {};
  return {at, text.size()};
}

}  // namespace qova
