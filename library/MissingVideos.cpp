#include "library/MissingVideos.h"

#include <windows.h>
#include <shlwapi.h>

#include <optional>
#include <string>

#include "library/UnusedThumbnail.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

bool isMissing(const FoundRecord& record) { return ::PathFileExistsA(record.videoPath.c_str()) != TRUE; }

}  // namespace

std::vector<FoundRecord> missingVideoRecords() {
  std::vector<FoundRecord> records = recordsIn(readWholeFile(libraryFilePath()));
  std::erase_if(records, [](const FoundRecord& record) { return !isMissing(record); });
  return records;
}

LibraryWrite rewriteLibraryWithoutMissingVideos(int& removed, int only) {
  removed = 0;
  const std::string path = libraryFilePath();
  const std::optional<std::string> fileBytes = readWholeFileIfReadable(path);
  if (!fileBytes) return LibraryWrite::Unreadable;
  std::string rest = *fileBytes;
  std::vector<FoundRecord> gone;
  int missingSoFar = 0;
  for (const FoundRecord& record : recordsIn(*fileBytes)) {
    if (!isMissing(record)) continue;
    if (only >= 0 && missingSoFar++ != only) continue;
    // Twins are cut one at a time: the first one left is this record's.
    const RecordSpan span = findRecordText(rest, record, 0);
    if (span.length == 0) continue;
    rest = withoutRecord(rest, span);
    gone.push_back(record);
  }
  if (gone.empty()) return LibraryWrite::NotFound;
  if (!replaceWholeFile(path, rest)) return LibraryWrite::NotWritten;
  removed = static_cast<int>(gone.size());
  std::vector<std::string> thumbnailsInUse;
  for (FoundRecord& record : recordsIn(rest)) thumbnailsInUse.push_back(std::move(record.thumbnailPath));
  for (const FoundRecord& record : gone) deleteThumbnailIfUnused(record.thumbnailPath, thumbnailsInUse);
  return LibraryWrite::Written;
}

}  // namespace qova
