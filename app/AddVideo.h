#pragma once
// Adding a video: the user picks one file, the frame-capture library gives it
// a name and a thumbnail, and one record is appended to the library file.
// Several files, or a folder, are added in the background (app/VideoAdding).

#include <windows.h>

#include <string>
#include <vector>

#include "library/VideoLibrary.h"

namespace qova {

// The add dialog's filter: the files that count as videos.
extern const char* const kVideoFilter;

// Asks for videos (several may be chosen). Several chosen files are returned,
// for adding in the background; otherwise nothing is returned, and one chosen
// file is added at once: appended to the library file, then `library` reloaded
// and refills the library window's list; cancelling, or an answer of the
// frame-capture library without a name and a thumbnail, adds nothing and
// leaves the library file exactly as it was. A file chosen by a name the ANSI
// code page cannot write is added by its short (8.3) path; where it has none
// that can be written, or the library file cannot be read or written, the
// user is told why and nothing is added.
std::vector<std::wstring> addVideo(VideoLibrary& library, HWND libraryWindow);

// Adds the one file chosen (as addVideo adds it).
void addChosenVideo(VideoLibrary& library, HWND libraryWindow, const std::wstring& chosenPath);

// Asks for a folder, starting at the user's desktop; empty when cancelled.
std::wstring chooseVideoFolder();

}  // namespace qova
