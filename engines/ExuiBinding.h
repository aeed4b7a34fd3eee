#pragma once
// The binding of the skinned UI component library ExuiKrnln.dll: loads it
// once, gives each component of a layout a child window and attaches the
// library's control to it, passes the library's events on to the window
// builder, and forwards the property requests and the list, image and menu
// calls the application makes. The calling contract is outside/exui/ExuiContract.h.
//
// Every call through an export the library lacks does nothing and gives 0
// (null); only a library that cannot be loaded at all stops the program.
#include <windows.h>

#include <cstdint>

#include "outside/exui/ExuiContract.h"
#include "runtime/UniqueHandle.h"

namespace qova {

// The component classes the layouts use (layout types "窗口EX", "分组框EX",
// "按钮EX", "单选框EX", "滑块条EX", "编辑框EX", "图标列表框EX").
enum class ComponentClass { WindowEx, MinutesboxEx, ButtonEx, RadiobuttonEx, SliderbarEx, EditboxEx, IcoListboxEx };

// The window class name of a component class ("WindowEx", ...).
const char* componentClassName(ComponentClass componentClass);

// Loads ExuiKrnln.dll from the program's folder (or from lib\ExuiKrnln
// below it) and binds its exports, once. A library that cannot be loaded shows
// the run-time error box and ends the process with exit code -1.
void loadComponentLibrary();

// Where component events and the end of component windows go: the window builder.
struct ComponentListener {
  // An event of a component: number = library code - 660 + the class's event base.
  void (*event)(HWND component, int32_t number, int32_t a, int32_t b, int32_t c, int32_t d) = nullptr;
  // The component's window is being destroyed (WM_NCDESTROY).
  void (*destroyed)(HWND component) = nullptr;
};
void setComponentListener(const ComponentListener& listener);

// One component as the window builder places it.
struct ComponentPlacement {
  ComponentClass componentClass = ComponentClass::WindowEx;
  HWND parent = nullptr;
  int32_t left = 0, top = 0, width = 0, height = 0;
  DWORD style = WS_VISIBLE;        // WS_CHILD, WS_BORDER and WS_CLIPSIBLINGS are added
  int32_t windowIdentifier = 0;    // the builder's identifier of the window
  int32_t componentIdentifier = 0; // the builder's identifier of the component; also the child id
  exui::ByteView properties;       // stored property data (PropertyWriter's output)
};

// Creates the component's child window and attaches the library's control to
// it. Null when the window cannot be created; a window whose control the
// library refused stays, plain, without events.
HWND createComponent(const ComponentPlacement& placement);

// The library's control attached to a component window; null if none.
ExuiControl controlOf(HWND component);

// Property requests. Set: false for an unknown component or property.
bool setComponentProperty(HWND component, int32_t property, int32_t value);
bool setComponentProperty(HWND component, int32_t property, exui::ByteView bytes);
// Read an Integer property; `fallback` for an unknown component or property.
int32_t componentIntegerProperty(HWND component, int32_t property, int32_t fallback = 0);
// Read any other property's bytes; empty for an unknown component or property.
exui::Bytes componentBytesProperty(HWND component, int32_t property);

inline void freeGlobalMemory(HGLOBAL memory) { ::GlobalFree(memory); }
using UniqueGlobalMemory = UniqueResource<NullIsEmpty<HGLOBAL, freeGlobalMemory>>;
// The component's whole stored property data, with its 8-byte block header
// (1, length), in a movable global memory block; empty for an unknown component.
UniqueGlobalMemory componentPropertyBlock(HWND component);

// The play button's pictures: an image set (the bytes of a ".ex" skin file);
// false for an unknown component.
bool setButtonImages(HWND button, exui::ByteView imageSet);
// The slider's position; 0 for an unknown component.
int32_t sliderPosition(HWND slider);
// Moves the slider (no event is raised); false for an unknown component.
bool setSliderPosition(HWND slider, int32_t position);

// The icon list (its component window). The number of items; 0 for an unknown list.
int32_t listItemCount(HWND list);
// Removes `count` items from `index` (-1: the start); the number removed, 0 for an unknown list.
int32_t deleteListItems(HWND list, int32_t index, int32_t count);
// Inserts an item before `position` (-1 appends); the new index, -1 for an unknown list
// (0 when the library lacks the export).
int32_t insertListItem(HWND list, int32_t position, int32_t fit, int32_t itemData, ExuiImage image,
                       exui::ByteView title, int32_t titleColour);

// An image decoded by the library from picture bytes (bad bytes give an
// empty image); null only when the library fails.
ExuiImage loadImage(exui::ByteView bytes);
// 1, or 0 for an unknown image.
int32_t destroyImage(ExuiImage image);
inline void releaseImage(ExuiImage image) { destroyImage(image); }
using UniqueImage = UniqueResource<NullIsEmpty<ExuiImage, releaseImage>>;

// A skinned menu; 0 on failure.
ExuiMenu createMenu(int32_t iconWidth, int32_t iconHeight, exui::ByteView menuSkin, exui::ByteView font,
                    exui::ByteView itemSkin, int32_t opacity, ExuiMenuCallback callback, int32_t menuNumber);
// The new item's id; 0 for an unknown menu.
int32_t insertMenuItem(ExuiMenu menu, int32_t parentItem, int32_t position, int32_t style, ExuiImage icon,
                       exui::ByteView caption, uint32_t textColour, uint32_t hotColour, int32_t minimumWidth,
                       int32_t height, int32_t itemData, bool disabled);
// Shows the menu at the screen point; modal: the chosen item's id or 0; 0 for an unknown menu.
int32_t popUpMenu(ExuiMenu menu, int32_t alignment, int32_t x, int32_t y, HWND owner, bool modal,
                  int32_t reserved);
// Packed font information for the menus; the library is reached by name
// like every outside function, so a missing export is the run-time error.
exui::Bytes packFontInfo(const ExuiFontInfo& fontInfo);

}  // namespace qova
