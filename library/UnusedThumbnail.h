#pragma once
// The thumbnails the frame-capture library writes into the program's "thumbs"
// folder belong to the library's records; one that no record names any more
// is deleted. Pictures anywhere else are the user's and are never touched.
#include <string>
#include <vector>

namespace qova {

// Deletes `thumbnailPath` when it names a file directly inside the program's
// "thumbs" folder and none of `thumbnailsInUse` names the same file (paths
// compared in full and regardless of case, as the file system does).
void deleteThumbnailIfUnused(const std::string& thumbnailPath,
                             const std::vector<std::string>& thumbnailsInUse);

}  // namespace qova
