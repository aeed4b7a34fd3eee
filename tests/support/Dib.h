#pragma once
// The 32-bit top-down DIB sections the tests draw into and copy the screen to.
#include <windows.h>

namespace qova::test {

// A width x height 32-bit top-down DIB section compatible with `dc` (may be
// null); its pixels through *bits. Null on failure.
HBITMAP createTopDownDib(HDC dc, int width, int height, void** bits);

}  // namespace qova::test
