#include "library/LibraryFile.h"

#include <windows.h>
#include <shlwapi.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryRecord.h"
#include "library/UnusedThumbnail.h"
#include "runtime/FileLock.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

// Every writer holds this lock from its read to its replace, so that two
// copies of the program never write from the same old bytes and lose a
// record. It lies beside the library: a lock file is found through any
// spelling of the folder.
std::string libraryLockPath() { return libraryFilePath() + ".lock"; }

// Long enough for any other writer's read and replace, short enough that a
// hung one only delays the window thread.
constexpr std::chrono::seconds kLockPatience{5};

// Once the other writers are shut out, finishes a replace that a power loss
// cut short, so that the library is whole before anyone reads it.
void finishCutShortReplace(const FileLock& lock) {
  if (lock.held()) finishInterruptedReplace(libraryFilePath());
}

// Every record of the file whose video exists, in file order.
std::vector<FoundRecord> loadedRecords() {
  std::string fileBytes;
  {
    // A folder where no lock file can be made is read as it is.
    const FileLock lock(libraryLockPath(), kLockPatience);
    finishCutShortReplace(lock);
    fileBytes = readWholeFile(libraryFilePath());
  }
  std::vector<FoundRecord> records = recordsIn(fileBytes);
  std::erase_if(records, [](const FoundRecord& record) {
    return ::PathFileExistsA(record.videoPath.c_str()) != TRUE;
  });
  return records;
}

// The file's new bytes made from its bytes; nullopt when they no longer hold
// what the change needs.
using LibraryEdit = std::function<std::optional<std::string>(const std::string& fileBytes)>;

// Reads, edits and replaces the file under the lock. Another program's save
// between the read and the replace (an editor's) makes the edit start again
// from the new bytes; `written` receives what was written.
LibraryWrite editLibrary(const LibraryEdit& edit, std::string* written = nullptr) {
  const FileLock lock(libraryLockPath(), kLockPatience);
  finishCutShortReplace(lock);
  if (lock.state() == FileLock::State::NoFile) return LibraryWrite::NotWritten;
  if (lock.state() == FileLock::State::Busy) return LibraryWrite::Unreadable;
  const std::string path = libraryFilePath();
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::optional<std::string> fileBytes = readWholeFileIfReadable(path);
    if (!fileBytes) return LibraryWrite::Unreadable;
    std::optional<std::string> edited = edit(*fileBytes);
    if (!edited) return LibraryWrite::NotFound;
    switch (replaceWholeFileIfUnchanged(path, *fileBytes, *edited)) {
      case Replaced::Yes:
        if (written) *written = std::move(*edited);
        return LibraryWrite::Written;
      case Replaced::No:
        return LibraryWrite::NotWritten;
      case Replaced::ChangedMeanwhile:
        break;
    }
  }
  // Changed under us at every try: what it holds is not what we read.
  return LibraryWrite::Unreadable;
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
  const std::string record = libraryRecord(videoPath, thumbnailPath, name);
  return editLibrary([&record](const std::string& fileBytes) { return withRecordAdded(fileBytes, record); });
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

  std::string rest;
  const LibraryWrite written = editLibrary(
      [&](const std::string& fileBytes) -> std::optional<std::string> {
        const RecordSpan span = findRecordText(fileBytes, chosen, occurrence);
        if (span.length == 0) return std::nullopt;
        return withoutRecord(fileBytes, span);
      },
      &rest);
  if (written == LibraryWrite::Written) {
    std::vector<std::string> thumbnailsInUse;
    for (FoundRecord& record : recordsIn(rest)) thumbnailsInUse.push_back(std::move(record.thumbnailPath));
    deleteThumbnailIfUnused(chosen.thumbnailPath, thumbnailsInUse);
  }
  return written;
}

}  // namespace qova
