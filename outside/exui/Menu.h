#pragma once
// Skinned menus made by Create_MenuEx: their items and looks, by menu number.
#include <windows.h>

#include <string>
#include <vector>

#include "outside/exui/ExuiContract.h"
#include "outside/exui/Picture.h"

namespace qova::exui {

struct MenuItem {
  int32_t id = 0;
  std::wstring caption;
  PictureRef icon;           // already scaled into the icon box
  uint32_t textColour = 0;
  uint32_t hotColour = 0;
  int minimumWidth = 80;
  int height = 22;
  int32_t data = 0;
  bool disabled = false;
  bool separator = false;
};

struct Menu {
  int32_t handle = 0;
  int iconWidth = 16;
  int iconHeight = 16;
  PictureRef face;           // menu background (nine-grid), may be empty
  PictureRef hotFace;        // hot item background (nine-grid), may be empty
  HFONT font = nullptr;
  FontDescription fontDescription;  // the font at 96 DPI, made again at the DPI the menu opens at
  BYTE opacity = 255;
  ExuiMenuCallback callback = nullptr;
  int32_t number = 0;
  std::vector<MenuItem> items;
};

// A new menu; its handle (never 0).
int32_t createMenu(Menu menu);
// The menu with that handle; null if none.
Menu* findMenu(int32_t handle);
// A process-wide unique item id.
int32_t nextMenuItemId();

}  // namespace qova::exui
