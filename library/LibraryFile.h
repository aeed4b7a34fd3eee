#pragma once
// Reading and writing the library file beside the executable. The file is read
// whole and written whole; a write goes to a new file that then replaces the
// old one in one step, so a crash or a full disk never destroys the library.
// Every change holds a lock ("spconfiguration_file.ini.lock" beside it) from
// its read to its replace, so that two copies of the program (or one started
// through two spellings of its folder) never lose each other's records.
#include <string>
#include <string_view>
#include <vector>

#include "library/LibraryRecord.h"
#include "library/VideoLibrary.h"

namespace qova {

// Program directory + "\spconfiguration_file.ini", rebuilt at each call.
std::string libraryFilePath();

// Every record of the file's bytes, in file order.
std::vector<FoundRecord> recordsIn(std::string_view fileBytes);

// Appends every record of the file whose video exists to the three lists, in
// file order; the number of entries appended (0 for a missing file).
int loadLibrary(std::vector<std::string>& videoPaths, std::vector<std::string>& thumbnailPaths,
                std::vector<std::string>& videoNames);

// Whether the file yields any entry at all (the lists are not touched).
bool libraryHasEntries();

// Empties the library's lists, loads them again and sets videoCount;
// currentIndex is left as it is.
void reloadLibrary(VideoLibrary& library);

// What became of a change of the file. A file that is there but cannot be
// read (held by another program, an I/O error) is never written: what it
// seemed to hold is not what it holds.
enum class LibraryWrite {
  Written,
  NotFound,    // no such entry, or the file no longer holds its record; nothing written
  Unreadable,  // the file is left exactly as it was
  NotWritten,  // the write failed; the file is left as it was
};

// Adds one record at the end of the file's readable text (before a NUL, after
// which nothing loads); a missing file is created.
LibraryWrite appendLibraryRecord(const std::string& videoPath, const std::string& thumbnailPath,
                                 const std::string& name);

// Removes the record of the library's entry at 0-based list position `index`
// and keeps every other byte of the file, records of missing videos included.
// Once it is written, the entry's thumbnail goes too when it lies in the
// program's "thumbs" folder and no record left in the file names it.
LibraryWrite rewriteLibraryWithout(const VideoLibrary& library, int index);

}  // namespace qova
