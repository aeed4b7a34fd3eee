#include "app/LibraryList.h"

#include "app/AppState.h"
#include "engines/ExuiBinding.h"
#include "library/LibraryFile.h"
#include "runtime/AnsiText.h"
#include "runtime/WholeFile.h"
#include "shell/Layouts.h"
#include "shell/WindowBuilder.h"

namespace qova {
namespace {
exui::ByteView asBytes(const std::string& bytes) {
  return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}
}  // namespace

void refillLibraryList() {
  HWND list = controlByName(app().popupWindow, kLibraryListName);
  if (!list) return;
  deleteListItems(list, -1, listItemCount(list));
  const VideoLibrary& library = app().library;
  for (int i = 0; i < library.videoCount && static_cast<size_t>(i) < library.videoNames.size(); ++i) {
    UniqueImage image(loadImage(asBytes(readWholeFile(library.thumbnailPaths[static_cast<size_t>(i)]))));
    insertListItem(list, -1, 1, 0, image.get(),
                   asBytes(toWideBytes(library.videoNames[static_cast<size_t>(i)])), 0);
  }
}


void deleteLibraryEntry(int index) {
  VideoLibrary& library = app().library;
  const int countBefore = library.videoCount;
  const int next = entryToPlayAfterDeleting(library, index);
  const std::string nextPath = library.videoPathAt(next);

  rewriteLibraryWithout(library, index);
  reloadLibrary(library);
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
