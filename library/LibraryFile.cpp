#include "library/LibraryFile.h"

#include <windows.h>
#include <shlwapi.h>

#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryRecord.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

// Every record of the file whose video exists, in file order.
std::vector<FoundRecord> loadedRecords() {
  const std::string fileBytes = readWholeFile(libraryFilePath());
  std::vector<FoundRecord> records;
  PatternMatcher matcher;
  matcher.run(kLibraryRecordPattern, std::string(libraryText(fileBytes)));
  const int matches = matcher.matchCount();
  for (int match = 1; match <= matches; ++match) {
    FoundRecord record{matcher.groupText(match, 1), matcher.groupText(match, 2),
                       matcher.groupText(match, 3)};
    if (::PathFileExistsA(record.videoPath.c_str()) == TRUE) records.push_back(std::move(record));
  }
  return records;
}

}  // namespace

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

bool appendLibraryRecord(const std::string& videoPath, const std::string& thumbnailPath,
                         const std::string& name) {
  const std::string path = libraryFilePath();
  return replaceWholeFile(path, readWholeFile(path) + libraryRecord(videoPath, thumbnailPath, name));
}

bool rewriteLibraryWithout(const VideoLibrary& library, int index) {
  if (index < 0 || static_cast<size_t>(index) >= library.videoPaths.size()) return false;
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
  const std::string fileBytes = readWholeFile(path);
  const RecordSpan span = findRecordText(fileBytes, chosen, occurrence);
  if (span.length == 0) return false;
  return replaceWholeFile(path, withoutRecord(fileBytes, span));
}

}  // namespace qova
