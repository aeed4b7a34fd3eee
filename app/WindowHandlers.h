#pragma once
// What the program's two windows do on their events: the handlers it gives
// their layouts.
#include "shell/Layouts.h"

namespace qova {

MainWindowHandlers mainWindowHandlers();
LibraryWindowHandlers libraryWindowHandlers();

}  // namespace qova
