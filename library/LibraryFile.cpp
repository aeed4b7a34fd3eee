#include "library/LibraryFile.h"

#include <windows.h>
#include <shlwapi.h>

#include <optional>
#include <string_view>

#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryRecord.h"
#include "library/UnusedThumbnail.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

// Every record of the file whose video exists, in file order.
std::vector<FoundRecord> loadedRecords() {
  std::vector<FoundRecord> records = recordsIn(readWholeFile(libraryFilePath()));
  std::erase_if(records, [](const FoundRecord& record) {
    return ::PathFileExistsA(record.videoPath.c_str()) != TRUE;
  });
  return records;
}

LibraryWrite replaceLibrary(const std::string& path, std::string_view bytes) {
  return replaceWholeFile(path, bytes) ? LibraryWrite::Written : LibraryWrite::NotWritten;
}

}  // namespace

std::vector<FoundRecord> recordsIn(std::string_view fileBytes) {
  std::vector<FoundRecord> records;
  PatternMatcher matcher;
  matcher.run(kLibraryRecordPattern, std::string(libraryText(fileBytes)));
  const int matches = matcher.matchCount();
  for (int match = 1; match <= matches; ++match)
    records.push_back({matcher.groupText(match, 1), matcher.groupText(match, 2), matcher.groupText(match, 3)});
  return records;
}

std::string libraryFilePath() { return programFile("spconfiguration_file.ini"); }

int loadLibrary(std::vector<std::string>& videoPaths, std::vector<std::string>& thumbnailPaths,
                std::vector<std::string>& videoNames) {
  const std::vector<FoundRecord> records = loadedRecords();
  for (const FoundRecord& record : records) {
    videoPaths.push_back(record.videoPath);
    thumbnailPaths.push_back(record.thumbnailPath);
    videoNames.push_back(record.name);
  }
  return static_cast<int>(records.size());
}

bool libraryHasEntries() {
  std::vector<std::string> paths, thumbnails, names;
  return loadLibrary(paths, thumbnails, names) > 0;
}

void reloadLibrary(VideoLibrary& library) {
  library.clearLists();
  library.videoCount = loadLibrary(library.videoPaths, library.thumbnailPaths, library.videoNames);
}

LibraryWrite appendLibraryRecord(const std::string& videoPath, const std::string& thumbnailPath,
                                 const std::string& name) {
  const std::string path = libraryFilePath();
  const std::optional<std::string> fileBytes = readWholeFileIfReadable(path);
  if (!fileBytes) return LibraryWrite::Unreadable;
  return replaceLibrary(path, *fileBytes + libraryRecord(videoPath, thumbnailPath, name));
}

LibraryWrite rewriteLibraryWithout(const VideoLibrary& library, int index) {
  if (index < 0 || static_cast<size_t>(index) >= library.videoPaths.size()) return LibraryWrite::NotFound;
  auto entry = [&library](size_t i) {
    return FoundRecord{library.videoPaths[i], library.thumbnailPaths[i], library.videoNames[i]};
  };
  const FoundRecord chosen = entry(static_cast<size_t>(index));
  // Identical entries are either all loaded or all skipped, so the chosen one
  // is the occurrence that follows its loaded twins.
  int occurrence = 0;
  for (size_t i = 0; i < static_cast<size_t>(index); ++i)
    if (entry(i) == chosen) ++occurrence;

  const std::string path = libraryFilePath();
  const std::optional<std::string> fileBytes = readWholeFileIfReadable(path);
  if (!fileBytes) return LibraryWrite::Unreadable;
  const RecordSpan span = findRecordText(*fileBytes, chosen, occurrence);
  if (span.length == 0) return LibraryWrite::NotFound;
  const std::string rest = withoutRecord(*fileBytes, span);
  const LibraryWrite written = replaceLibrary(path, rest);
  if (written == LibraryWrite::Written) {
    std::vector<std::string> thumbnailsInUse;
    for (FoundRecord& record : recordsIn(rest)) thumbnailsInUse.push_back(std::move(record.thumbnailPath));
    deleteThumbnailIfUnused(chosen.thumbnailPath, thumbnailsInUse);
  }
  return written;
}

}  // namespace qova
