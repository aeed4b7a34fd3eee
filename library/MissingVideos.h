#pragma once
// Records whose video file is gone (deleted, moved, on a drive unplugged):
// the library keeps them, the library window shows them, and the user may
// remove them all at once.
#include <vector>

#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"

namespace qova {

// The records of the library file whose video does not exist, in file order.
std::vector<FoundRecord> missingVideoRecords();

// Removes the record of every video that does not exist and keeps every other
// byte of the file; each removed record's thumbnail goes too when it lies in
// the program's "thumbs" folder and no record left names it. `removed`
// counts the records removed. NotFound, with nothing written, when every
// video exists. With `only` (0-based, in the order of missingVideoRecords)
// just that one record goes.
LibraryWrite rewriteLibraryWithoutMissingVideos(int& removed, int only = -1);

}  // namespace qova
