#include "library/LibraryList.h"

namespace qova {

// The library window and its list arrive with the skinned windows; until
// then there is no list to fill.
void refillLibraryList() {}

}  // namespace qova
