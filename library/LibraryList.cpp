#include "library/LibraryList.h"

#include "app/AppState.h"
#include "library/LibraryFile.h"

namespace qova {

// The library window and its list arrive with the skinned windows; until
// then there is no list to fill.
void refillLibraryList() {}

void deleteLibraryEntry(int index) {
  VideoLibrary& library = app().library;
  const int countBefore = library.videoCount;
  const int next = entryToPlayAfterDeleting(library, index);
  const std::string nextPath = library.videoPathAt(next);

  rewriteLibraryWithout(index);
  reloadLibrary();
  refillLibraryList();

  if (nextPath.empty()) {
    library.currentIndex = 0;
    if (library.videoCount == 0) app().player.close();
    return;
  }
  const bool deleted = library.videoCount == countBefore - 1;
  library.currentIndex = deleted ? positionAfterDeleting(next, index + 1) : next;
  app().player.open(nextPath);
}

}  // namespace qova
