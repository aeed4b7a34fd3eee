// Wine's own DWM has no thumbnails: the preview then stays empty, silently.
#include "desktop/DisplayGeometry.h"

#include <gtest/gtest.h>

TEST(DesktopPreview, WithoutCompositionNothingShowsAndNothingFails) {
  HWND main = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 216, 164, nullptr, nullptr,
                                nullptr, nullptr);
  EXPECT_EQ(qova::startDesktopPreview(main, ::GetDesktopWindow()), nullptr);
  EXPECT_TRUE(::IsWindow(main));
  ::DestroyWindow(main);
}
