#pragma once
#include <windows.h>

namespace qova {

// The mouse cursor in screen coordinates, where the menus pop up.
inline POINT cursorPosition() {
  POINT point{};
  ::GetCursorPos(&point);
  return point;
}

}  // namespace qova
