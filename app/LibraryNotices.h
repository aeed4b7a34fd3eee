#pragma once
// What the user is told when a video cannot be added or deleted: a message box
// over the active window, in plain words, saying what stays as it was and what
// to do. Each returns once the box is closed.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "library/LibraryFile.h"
#include "runtime/AnsiPath.h"

namespace qova {

// What the user asked of the library.
enum class LibraryChange { Add, Delete };

// Tells why the file at `widePath` cannot be added: its name has characters
// the library file cannot hold, or its path is too long (also for a path too
// long for the dialog, where `widePath` may be empty).
void tellPathNotStorable(const std::wstring& widePath, AnsiPathProblem problem);

// Tells that `change` was refused because the library file could not be read
// or could not be written, and returns true then; false, without a word, when
// the file was written or no longer held the entry (a reload shows the truth).
bool tellIfRefused(LibraryWrite written, LibraryChange change);

// Asks once before the entries of `count` missing videos are removed; true
// for yes. With none missing it says so and answers false.
bool askToDeleteMissingVideos(HWND owner, int count);

// Why a file given to be added was passed over.
enum class PassedOver { AlreadyThere, NotAVideo, NameNotStorable, CannotRead };

// The one message at the end of adding several files, over `owner`: how many
// were added, and each passed over file by its reason.
void tellAddSummary(HWND owner, int added, const std::vector<std::pair<PassedOver, std::wstring>>& passedOver);
// Its text.
std::wstring addSummaryText(int added, const std::vector<std::pair<PassedOver, std::wstring>>& passedOver);

}  // namespace qova
