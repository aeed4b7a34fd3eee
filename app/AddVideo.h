#pragma once
// Adding a video: the user picks one file, the frame-capture library gives it
// a name and a thumbnail, and one record is appended to the library file.

#include <windows.h>

#include "library/VideoLibrary.h"

namespace qova {

// Asks for one video and adds it to the library file, then reloads `library`
// and refills the library window's list; cancelling, or an answer of the
// frame-capture library without a name and a thumbnail, adds nothing and
// leaves the library file exactly as it was. A file chosen by a name the ANSI
// code page cannot write is added by its short (8.3) path; where it has none
// that can be written, or the library file cannot be read or written, the
// user is told why and nothing is added.
void addVideo(VideoLibrary& library, HWND libraryWindow);

}  // namespace qova
