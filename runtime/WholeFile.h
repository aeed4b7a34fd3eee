#pragma once
// Files are read whole and written whole; nothing keeps a file open.
#include <optional>
#include <string>
#include <string_view>

namespace qova {

// The file's bytes; empty when it is missing or cannot be read.
std::string readWholeFile(const std::string& path);

// The file's bytes, empty for a missing file; nullopt for a file (or folder)
// that is there but cannot be read whole: held by another program without
// sharing, refused to this user, an I/O error. For a file that must never be
// rewritten from what an unreadable file seemed to hold.
std::optional<std::string> readWholeFileIfReadable(const std::string& path);

// Creates or truncates the file (exclusive sharing) and writes the bytes.
// False when it cannot be opened or not every byte was written.
bool writeWholeFile(const std::string& path, std::string_view bytes);

// Writes the bytes to a new file in the same folder, flushes it and then
// replaces `path` with it in one step. On any failure the old file is left
// exactly as it was and the result is false.
bool replaceWholeFile(const std::string& path, std::string_view bytes);

enum class Replaced {
  Yes,
  No,                // a failure; the old file is left exactly as it was
  ChangedMeanwhile,  // `path` no longer held what was expected; left as it is
};

// As replaceWholeFile, but only while `path` still holds `expected` (a
// missing file holds nothing), checked once the new bytes are on the disk,
// just before the replace: someone else's save in between is never lost.
Replaced replaceWholeFileIfUnchanged(const std::string& path, std::string_view expected,
                                     std::string_view bytes);

// Where the replace is not one step (FAT and exFAT delete the old file before
// the new one takes its name), a power loss can leave only the new file,
// complete and flushed. When `path` is missing and that file is there, it is
// put in place. Call it with the writers shut out.
void finishInterruptedReplace(const std::string& path);

}  // namespace qova
