#pragma once
// The calling contract of the skinned UI component library ExuiKrnln.dll.
//
// Included by the program's binding (the window builder's component layer)
// and by our own library, so the export names, argument lists, record
// layouts and the meaning of every code live here and nowhere else. The data
// formats (stored property data and PropertyWriter, image sets, packed font
// information, byte-array blocks) are in ExuiFormat.h.
//
// Conventions
// -----------
// * Every export uses the C calling convention (the one convention of x64).
// * Integers are 32-bit; window handles, controls, images, pointers and
//   function addresses are pointer-sized; booleans are 0 or 1; colours are
//   ARGB (0xAARRGGBB).
// * A byte array crosses as a pointer to a block: int32 1, int32 length, then
//   the bytes (ExuiByteArrayHeader). The empty byte array is the block 1, 0;
//   a null pointer reads as empty too.
// * Text is UTF-16LE inside a byte array; a terminating NUL and anything after
//   it is ignored.
// * Everything runs on the thread that created the controls and menus; that
//   thread runs a message loop. Events and menu callbacks arrive on it, from
//   inside window messages; a handler may call any export, destroy the control
//   that raised the event, or open a menu.
// * Bad input never crashes: an unknown control, image or menu, null pointers
//   and undecodable pictures are refused with the failure result named at the
//   export, or drawn as nothing.
//
// Components
// ----------
// The program owns the window of every component; the library attaches to it.
// For each component the program (its binding):
//   1. registers a window class once per component class (the class names are
//      kExuiClass...Name; CS_DBLCLKS, white brush, arrow cursor; its window
//      procedure is the program's own);
//   2. creates a child window of that class: no title, the component's style
//      plus WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS, the layout rectangle,
//      parent and id;
//   3. fills an ExuiCreationRecord and calls the component's CreateControl_*
//      export with (0, parent, x, y, width, height, event function, &record,
//      then zeros up to the export's argument count).
// The create export then:
//   * subclasses the window (SetWindowLongPtrW, GWLP_WNDPROC); every message
//     the control does not consume goes on to the program's procedure, so the
//     program still sees WM_MOVE, WM_SIZE and WM_NCDESTROY;
//   * sets the window property "Tab_Control" to the control (ExuiControl);
//   * removes WS_BORDER (the library draws its own borders) and adds
//     WS_CLIPCHILDREN to container components (WindowEx, MinutesboxEx);
//   * for a WindowEx whose role is kExuiWindowRoleFrame: sets the property
//     "Tab_IsWinControl" (1) on its own window, subclasses the parent window
//     (SetWindowLongPtrW; it chains with SetWindowLong subclassing the
//     program does before or after, and stays in the chain passing everything
//     on if it cannot be taken out) to paint the skin as the parent's
//     background, let the top band drag the window, and send the wheel to
//     the control under the pointer; it adds WS_CLIPCHILDREN to the parent,
//     and turns its own window into the skin's close button in the parent's
//     top-right corner (flush with the top, one pixel in from the right edge;
//     the size of the first close-button image, 0 x 0 when the skin has
//     none). The program must not move or size that window
//     (ControPonintSizeSynchronise is not called for it; see Binding duties).
// A control lives until ControlDestroy or until its window is destroyed,
// whichever comes first; after that the control value is invalid.
//
// Binding duties on the component's window messages:
//   * WM_MOVE -> ControPonintSizeSynchronise(window, kExuiSyncMoved),
//     WM_SIZE -> ControPonintSizeSynchronise(window, kExuiSyncSized), except
//     for a window carrying "Tab_IsWinControl";
//   * WM_NCDESTROY -> ControlDestroy(control) with the "Tab_Control" value.
//
// Events
// ------
// The library calls the component's event function as
//     events(control, code, a, b, c, d)
// on the control's thread. The binding ignores codes of 700 and above
// (returning 0) and raises event number  code - 660 + event base  of the
// component with the four integers. Every class's event base is 0, so the
// numbers are code - 660:
//
//   class          code  event  when                                   a, b, c, d
//   WindowEx        661    1    the close button hid the parent window  0 (false), 0, 0, 0
//   MinutesboxEx    665    5    right button released over the box      x, y (client), 0, 0
//   MinutesboxEx    666    6    left click (press and release inside)   x, y, 0, 0
//   MinutesboxEx    668    8    left double-click                       x, y, 0, 0
//   ButtonEx        660    0    clicked (mouse, Space or Enter)         0, 0, 0, 0
//   RadiobuttonEx   660    0    chosen by the user (click or Space;     1, 0, 0, 0
//                               also when it was already checked)
//   SliderbarEx     660    0    value changed by the user (drag, click,  new value, 0, 0, 0
//                               wheel, keys), once per change
//   IcoListboxEx    666    6    left click on an item                   index (0-based), x, y, 0
//   IcoListboxEx    663    3    right button pressed on an item         index, x, y, 0
//   IcoListboxEx    675   15    right button released (every right      x, y, index under the
//                               press on the list ends with one 675;    pointer or -1, 0
//                               after 663 when it began on an item)
// EditboxEx raises no events. Changes made through ControlSendMessage never
// raise events. The result of the event function is ignored. The library
// sends no code of 700 or above today; bindings must still ignore them.
//
// A right press on an item raises 663 at once, while the button is down, so
// its handler may pop up a modal menu; if the release happened while that
// handler ran (the menu took it), 675 follows as soon as the handler returns,
// otherwise at the release. A right press on empty space raises only 675.
//
// Properties (the ids are kExuiProp... in ExuiFormat.h)
// ----------
//   id  name              kind      components      default and meaning
//    1  Caption           Text      Button, Radio,  empty. Button text; radio text; group-box
//                                   Minutesbox,     title (none: a plain framed box); frame
//                                   WindowEx        skin: title in the band (none: the parent's
//                                                   window text)
//    2  SkinName          Text      all             empty. Kept and reported; every skin name
//                                                   ("默认窗口皮肤", "EX_UI默认皮肤_分组框",
//                                                   "EX_UI默认皮肤_滑块条", "EX_UI默认皮肤_普通列表框")
//                                                   selects the library's built-in look
//    3  StateImages       ImageSet  ButtonEx        none (a caption button). 1 picture: every
//                                                   state; 2: normal, pressed; 3: normal, hover,
//                                                   pressed. Drawn centred, scaled down to fit
//    4  Checked           Integer   RadiobuttonEx   0
//    5  Value             Integer   SliderbarEx     0, kept within Minimum..Maximum
//    6  Minimum           Integer   SliderbarEx     0
//    7  Maximum           Integer   SliderbarEx     100
//    8  Text              Text      EditboxEx       empty; lines end with CR LF
//    9  ReadOnly          Integer   EditboxEx       0
//   10  Background        Picture   WindowEx,       none: the built-in look (white face, blue
//                                   MinutesboxEx    band and border for a frame; a light panel;
//                                                   a white card for a group box)
//   11  BackgroundMargins Integers  WindowEx,       6, 34, 6, 6: the nine-grid margins
//                                   MinutesboxEx    (left, top, right, bottom) of Background
//   12  CloseImages       ImageSet  WindowEx frame  none: no close button. normal, hover, pressed
//   13  WindowRole        Integer   WindowEx        kExuiWindowRolePanel (container panel);
//                                                   kExuiWindowRoleFrame: skin of its parent
//   14  ItemSize          Integers  IcoListboxEx    200, 150: width, height of an item cell; the
//                                                   cells fill rows left to right, spread evenly
//                                                   across the width, 12 or more apart
//   15  ImageSize         Integers  IcoListboxEx    184, 104: the thumbnail box, centred 8 below
//                                                   the cell's top; the title takes the rest below
//   16  ListImages        ImageSet  IcoListboxEx    none: the built-in look. Positions
//                                                   kExuiListImage...; missing ones are built in
//   17  TextColour        Integer   all with text   0: the skin's colour; otherwise ARGB
//   18  BandHeight        Integer   WindowEx frame  30: the top band that drags the window
//   19  Dpi               Integer   all             0: the DPI of the control's window (its
//                                                   monitor's, else the system's). The sizes
//                                                   the library draws by itself (fonts, marks,
//                                                   bands, borders' corners, the close button,
//                                                   list cells, scroll bars) and the sizes of
//                                                   properties 11, 14, 15 and 18 are given at
//                                                   96 DPI and drawn scaled to it (MulDiv(size,
//                                                   dpi, 96)); pictures are drawn at their size
//                                                   scaled the same way, resampled smoothly
//   20  StateImages2x     ImageSet  ButtonEx        none. StateImages drawn at twice their
//                                                   size, for 192 DPI: above 96 DPI they are
//                                                   drawn instead (resampled to the size of
//                                                   StateImages at the DPI). Setting
//                                                   StateImages removes them
//   21  CloseImages2x     ImageSet  WindowEx frame  none. The same for CloseImages
// Reading a property that was never set gives its default (Integer,
// Integers) or an empty value (Text, Picture, ImageSet).
//
// Property messages: ControlSendMessage(control, message, id, data, 0, 0)
//   kExuiMessageSetProperty (10241): Integer properties take the value itself
//     in `data`; all others take an ExuiByteArray in `data` (Integers as
//     int32 values, Text as UTF-16LE). Result 1, or 0 for an unknown control
//     or property id. The control redraws; no event is raised.
//   kExuiMessageGetProperty (10242): `data` points at an ExuiPropertyValue to
//     fill. Result 1, or 0 for an unknown control or property id or a null
//     `data`.
//   kExuiMessageGetAllProperties (10243, id -1, data 0): result is a pointer
//     to a byte-array block (ExuiByteArrayHeader) holding the control's whole
//     current stored property data (the second 32-bit word is its length);
//     owned by the control, valid until the next 10243 on it or its end.
//     0 for an unknown control.
//
// Images
// ------
// LoadImageEx decodes PNG, JPEG, BMP and GIF (first frame) with WIC. Empty,
// truncated or foreign bytes give a valid image of size 0 x 0 that draws as
// nothing. Every user of an image (a list item, a menu item) keeps its own
// copy, so the program may destroy the image right after handing it over.
//
// Skinned menus
// -------------
// A menu is a number (1, 2, ...). PopUp_MenuEx shows it as a topmost popup
// window of class kExuiMenuWindowClass at the given screen point (moved to
// stay on the work area). Its sizes (icons, items' heights and least widths,
// the font's height) are given at 96 DPI and laid out at the DPI of the owner
// window (of the system without one), as the components' (property 19). The user chooses an item with the mouse (a button
// released on it, once the pointer has moved or a button was pressed inside
// the menu, so the release of the click that opened the menu chooses
// nothing), or with Up/Down/Home/End and Enter or Space; Escape, a click
// outside, or the application losing activation closes it without a choice.
// A choice closes the menu first, then calls the menu's callback:
//     callback(menu, kExuiCodeMenuItemChosen (650), item id, item data,
//              menu number, 0)
// The callback's result is ignored. Item ids are unique in the process.
//
// Storing the program's layouts
// -----------------------------
// Each component's stored property data is PropertyWriter's output, e.g.:
//   window's own skin   integer(kExuiPropWindowRole, kExuiWindowRoleFrame)
//                       [.picture(kExuiPropBackground, png)
//                        .imageSet(kExuiPropCloseImages, {normal, hover, pressed})]
//   settings panel      text(kExuiPropSkinName, u"默认窗口皮肤") (a panel: role 0)
//   group box           text(kExuiPropSkinName, u"EX_UI默认皮肤_分组框"); the preview box: nothing
//   picture button      imageSet(kExuiPropStateImages, {normal, hover, pressed}) or {normal, pressed}
//   caption button      text(kExuiPropCaption, u"设置开机启动")
//   radio button        text(kExuiPropCaption, u"显示该窗口").boolean(kExuiPropChecked, true)
//   slider              text(kExuiPropSkinName, u"EX_UI默认皮肤_滑块条") (0..100 by default)
//   edit box            text(kExuiPropText, u"...\r\n...\r\n").boolean(kExuiPropReadOnly, true)
//   icon list           text(kExuiPropSkinName, u"EX_UI默认皮肤_普通列表框")
//                       .imageSet(kExuiPropListImages, {the kExuiListImage... pictures})
// A ".ex" button skin file holds encodeImageSet({normal, pressed}); handing
// its bytes to ControlSendMessage(button, 10241, kExuiPropStateImages, byte
// array, 0, 0) swaps the button's pictures. The slider's position is set with
// (slider, 10241, kExuiPropValue, value, 0, 0) and read back with 10242.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "outside/exui/ExuiFormat.h"

// A byte-array block: this header, then `length` bytes.
struct ExuiByteArrayHeader {
  int32_t one;     // always 1
  int32_t length;  // number of bytes that follow
};
using ExuiByteArray = const ExuiByteArrayHeader*;

// A control: the value of the window property "Tab_Control". Opaque.
struct ExuiControlObject;
using ExuiControl = ExuiControlObject*;
// An image made by LoadImageEx. Opaque.
struct ExuiImageObject;
using ExuiImage = ExuiImageObject*;
// A skinned menu made by Create_MenuEx; 0 is none.
using ExuiMenu = int32_t;

// The component's event function; see Events above.
using ExuiEventFunction = int32_t(__cdecl*)(ExuiControl control, int32_t code, int32_t a, int32_t b,
                                            int32_t c, int32_t d);
// A menu's callback: (menu, code, item id, item data, menu number, 0).
using ExuiMenuCallback = int32_t(__cdecl*)(int32_t menu, int32_t code, int32_t item, int32_t itemData,
                                           int32_t menuNumber, int32_t reserved);

// The creation record passed to every CreateControl_* export (x64 layout).
struct ExuiCreationRecord {
  HWND window;                 // offset 0: the component's child window, made by the program
  int32_t laterIdentifier;     // offset 8: the second of the window builder's two identifiers
  int32_t earlierIdentifier;   // offset 12: the first of them
  int32_t kind;                // offset 16: kExuiKind... of the component
  const uint8_t* properties;   // offset 24: stored property data (ExuiFormat.h); may be null
  int32_t propertiesLength;    // offset 32: its length in bytes
};
static_assert(offsetof(ExuiCreationRecord, laterIdentifier) == 8);
static_assert(offsetof(ExuiCreationRecord, kind) == 16);
static_assert(offsetof(ExuiCreationRecord, properties) == 24);
static_assert(offsetof(ExuiCreationRecord, propertiesLength) == 32);
static_assert(sizeof(ExuiCreationRecord) == 40);

// What kExuiMessageGetProperty fills in.
struct ExuiPropertyValue {
  int32_t integer;         // Integer properties: the value; otherwise 0
  int32_t length;          // other properties: the number of bytes; otherwise 0
  const uint8_t* bytes;    // other properties: the bytes (owned by the control, valid until
                           // its next ControlSendMessage); null when empty
};

// Kinds of the creation record, per component class.
inline constexpr int32_t kExuiKindWindowEx = 11;
inline constexpr int32_t kExuiKindMinutesboxEx = 0;
inline constexpr int32_t kExuiKindButtonEx = 0;
inline constexpr int32_t kExuiKindRadiobuttonEx = 0;
inline constexpr int32_t kExuiKindSliderbarEx = 1;
inline constexpr int32_t kExuiKindEditboxEx = 1;
inline constexpr int32_t kExuiKindIcoListboxEx = 10;

// Window class names the program registers, one per component class.
inline constexpr const char* kExuiClassWindowExName = "WindowEx";
inline constexpr const char* kExuiClassMinutesboxExName = "MinutesboxEx";
inline constexpr const char* kExuiClassButtonExName = "ButtonEx";
inline constexpr const char* kExuiClassRadiobuttonExName = "RadiobuttonEx";
inline constexpr const char* kExuiClassSliderbarExName = "SliderbarEx";
inline constexpr const char* kExuiClassEditboxExName = "EditboxEx";
inline constexpr const char* kExuiClassIcoListboxExName = "IcoListboxEx";

// Component class numbers (kExuiFunctionControlClass).
inline constexpr int32_t kExuiClassWindowEx = 1;
inline constexpr int32_t kExuiClassMinutesboxEx = 2;
inline constexpr int32_t kExuiClassButtonEx = 3;
inline constexpr int32_t kExuiClassRadiobuttonEx = 4;
inline constexpr int32_t kExuiClassSliderbarEx = 5;
inline constexpr int32_t kExuiClassEditboxEx = 6;
inline constexpr int32_t kExuiClassIcoListboxEx = 7;

// Argument counts of the create exports.
inline constexpr int kExuiArgumentsWindowEx = 25;
inline constexpr int kExuiArgumentsMinutesboxEx = 23;
inline constexpr int kExuiArgumentsButtonEx = 19;
inline constexpr int kExuiArgumentsRadiobuttonEx = 20;
inline constexpr int kExuiArgumentsSliderbarEx = 24;
inline constexpr int kExuiArgumentsEditboxEx = 38;
inline constexpr int kExuiArgumentsIcoListboxEx = 27;

// Event codes (see Events) and the per-class event bases.
inline constexpr int32_t kExuiCodeFirst = 660;            // event number = code - 660 + base
inline constexpr int32_t kExuiCodeIgnoredFrom = 700;      // codes from here on are not events
inline constexpr int32_t kExuiCodeAction = 660;           // button clicked, radio chosen, slider moved
inline constexpr int32_t kExuiCodeClosed = 661;           // WindowEx close button: a = 0
inline constexpr int32_t kExuiCodeItemRightPress = 663;   // IcoListboxEx: a = index
inline constexpr int32_t kExuiCodeRightClick = 665;       // MinutesboxEx: a, b = x, y
inline constexpr int32_t kExuiCodeLeftClick = 666;        // MinutesboxEx: x, y; IcoListboxEx: index
inline constexpr int32_t kExuiCodeDoubleClick = 668;      // MinutesboxEx: a, b = x, y
inline constexpr int32_t kExuiCodeRightRelease = 675;     // IcoListboxEx: a, b = x, y; c = index or -1
inline constexpr int32_t kExuiEventBaseWindowEx = 0;
inline constexpr int32_t kExuiEventBaseMinutesboxEx = 0;
inline constexpr int32_t kExuiEventBaseButtonEx = 0;
inline constexpr int32_t kExuiEventBaseRadiobuttonEx = 0;
inline constexpr int32_t kExuiEventBaseSliderbarEx = 0;
inline constexpr int32_t kExuiEventBaseEditboxEx = 0;
inline constexpr int32_t kExuiEventBaseIcoListboxEx = 0;

// The menu callback's code for a chosen item.
inline constexpr int32_t kExuiCodeMenuItemChosen = 650;

// ControlSendMessage messages.
inline constexpr int32_t kExuiMessageSetProperty = 10241;
inline constexpr int32_t kExuiMessageGetProperty = 10242;
inline constexpr int32_t kExuiMessageGetAllProperties = 10243;

// ControPonintSizeSynchronise's second argument.
inline constexpr int32_t kExuiSyncMoved = 0;
inline constexpr int32_t kExuiSyncSized = 1;

// InsertItem_IcoListboxEx's fit argument.
inline constexpr int32_t kExuiFitStretch = 0;             // fill the thumbnail box
inline constexpr int32_t kExuiFitKeepAspect = 1;          // scale into the box keeping the aspect ratio

// InsertItem_MenuEx's style argument.
inline constexpr int32_t kExuiMenuItemNormal = 0;
inline constexpr int32_t kExuiMenuItemSeparator = 1;

// Function numbers of CallInternalFunction_Ex(function, a, b, c, d, e, f).
inline constexpr int32_t kExuiFunctionVersion = 1;        // () -> kExuiVersion
inline constexpr int32_t kExuiFunctionIsControl = 2;      // (control) -> 1 when it is a live control
inline constexpr int32_t kExuiFunctionControlWindow = 3;  // (control) -> its HWND, 0 if unknown
inline constexpr int32_t kExuiFunctionControlClass = 4;   // (control) -> kExuiClass..., 0 if unknown
inline constexpr int32_t kExuiFunctionImageWidth = 5;     // (image) -> width in pixels, 0 if empty/unknown
inline constexpr int32_t kExuiFunctionImageHeight = 6;    // (image) -> height in pixels
inline constexpr int32_t kExuiFunctionDrawImage = 7;      // (image, HDC, x, y, width, height) -> 1 when
                                                          //   something was drawn (scaled to the rectangle)
inline constexpr int32_t kExuiFunctionListItemRect = 8;   // (list, index, RECT*) -> 1 and the item's cell
                                                          //   in client coordinates; 0 if out of range
inline constexpr int32_t kExuiFunctionListScroll = 9;     // (list, pixels from the top, or -1 to only read)
                                                          //   -> the scroll offset now in force; -1 if unknown
inline constexpr int32_t kExuiFunctionMenuWindow = 10;    // () -> the open menu's HWND, 0 if none
inline constexpr int32_t kExuiFunctionMenuItemRect = 11;  // (menu, item id, RECT*) -> 1 and the item's
                                                          //   rectangle in screen coordinates while open
inline constexpr int32_t kExuiVersion = 0x0100;

// The class of the menu popup window.
inline constexpr const wchar_t* kExuiMenuWindowClass = L"ExuiMenuWindow";

extern "C" {

// Attach a control of each class to record->window. Arguments: 0, parent,
// x, y, width, height (the window's rectangle, informational), the event
// function (may be null: no events), the creation record, then zeros.
// Each returns the control, or null when the record or its window is unusable.
ExuiControl __cdecl CreateControl_WindowEx(int32_t reserved, HWND parent, int32_t x, int32_t y,
                                           int32_t width, int32_t height, ExuiEventFunction events,
                                           const ExuiCreationRecord* record,
                                           int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                           int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                           int32_t, int32_t, int32_t, int32_t, int32_t);
ExuiControl __cdecl CreateControl_MinutesboxEx(int32_t reserved, HWND parent, int32_t x, int32_t y,
                                               int32_t width, int32_t height, ExuiEventFunction events,
                                               const ExuiCreationRecord* record,
                                               int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t);
ExuiControl __cdecl CreateControl_ButtonEx(int32_t reserved, HWND parent, int32_t x, int32_t y,
                                           int32_t width, int32_t height, ExuiEventFunction events,
                                           const ExuiCreationRecord* record,
                                           int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                           int32_t, int32_t, int32_t, int32_t, int32_t);
ExuiControl __cdecl CreateControl_RadiobuttonEx(int32_t reserved, HWND parent, int32_t x, int32_t y,
                                                int32_t width, int32_t height, ExuiEventFunction events,
                                                const ExuiCreationRecord* record,
                                                int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                                int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
ExuiControl __cdecl CreateControl_SliderbarEx(int32_t reserved, HWND parent, int32_t x, int32_t y,
                                              int32_t width, int32_t height, ExuiEventFunction events,
                                              const ExuiCreationRecord* record,
                                              int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                              int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                              int32_t, int32_t, int32_t, int32_t);
ExuiControl __cdecl CreateControl_EditboxEx(int32_t reserved, HWND parent, int32_t x, int32_t y,
                                            int32_t width, int32_t height, ExuiEventFunction events,
                                            const ExuiCreationRecord* record,
                                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
ExuiControl __cdecl CreateControl_IcoListboxEx(int32_t reserved, HWND parent, int32_t x, int32_t y,
                                               int32_t width, int32_t height, ExuiEventFunction events,
                                               const ExuiCreationRecord* record,
                                               int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t);

// Property requests (see Properties). `message` is kExuiMessage...; the last
// two arguments are 0. Result: see the message; 0 for an unknown control or message.
intptr_t __cdecl ControlSendMessage(ExuiControl control, int32_t message, int32_t property,
                                    intptr_t data, int32_t reserved1, int32_t reserved2);
// The control attached to `window` re-reads its rectangle after the window
// moved (kExuiSyncMoved) or was sized (kExuiSyncSized). 1, or 0 when no
// control is attached to the window.
int32_t __cdecl ControPonintSizeSynchronise(HWND window, int32_t what);
// Detaches the control from its window (restoring the window procedure when
// it is still the library's) and frees it; safe from inside its own events
// and from WM_NCDESTROY. 1, or 0 for an unknown control.
int32_t __cdecl ControlDestroy(ExuiControl control);

// `list` is the IcoListboxEx control (its window's "Tab_Control").
// The number of items; 0 for an unknown control.
int32_t __cdecl GetItemCount_IcoListboxEx(ExuiControl list);
// Removes `count` items starting at `index` (0-based; -1 means 0, the start);
// the range is cut to the items there are. The number removed; 0 for an unknown control.
int32_t __cdecl DeleteItem_IcoListboxEx(ExuiControl list, int32_t index, int32_t count);
// Inserts one item before `position` (0-based; -1 or past the end appends).
// fit: kExuiFitKeepAspect (1) or kExuiFitStretch (0); itemData: kept with the
// item; image: may be null or empty (an empty cell); title: UTF-16LE byte
// array; titleColour: ARGB, 0 for the skin's colour. The picture is scaled
// into the thumbnail box once, here. The new item's index; -1 for an unknown control.
int32_t __cdecl InsertItem_IcoListboxEx(ExuiControl list, int32_t position, int32_t fit,
                                        int32_t itemData, ExuiImage image, ExuiByteArray title,
                                        int32_t titleColour);

// An image decoded from the picture bytes; bad or empty bytes give an empty
// image (0 x 0). Null only when memory runs out.
ExuiImage __cdecl LoadImageEx(ExuiByteArray bytes);
// Frees the image; 1, or 0 for an unknown image.
int32_t __cdecl DestroyImageEx(ExuiImage image);

// A new menu. iconWidth, iconHeight: the item icons' box (16, 16); menuSkin,
// itemSkin: image sets for the menu's face and the hot item's background
// (empty: built in); font: packed font information from RexcPackFontInfo
// (empty or foreign: "微软雅黑", 13 pixels); opacity: 0..255 for the whole
// menu (255 opaque); callback: may be null; menuNumber: passed back to the
// callback. The menu, or 0 on failure.
ExuiMenu __cdecl Create_MenuEx(int32_t iconWidth, int32_t iconHeight, ExuiByteArray menuSkin,
                               ExuiByteArray font, ExuiByteArray itemSkin, int32_t opacity,
                               ExuiMenuCallback callback, int32_t menuNumber);
// Adds an item. parentItem: 0 (the top level; there are no submenus, other
// values count as 0); position: 0-based, -1 appends; style:
// kExuiMenuItemNormal or kExuiMenuItemSeparator; icon: may be null or empty;
// caption: UTF-16LE byte array; textColour: ARGB of the caption; hotColour:
// ARGB of the caption under the pointer (a colour with alpha 0 means the
// built-in one); minimumWidth, height: pixels (80, 22); itemData: passed back
// to the callback; disabled: 1 greys the item out and makes it unchoosable.
// The item's id (1001 and up, unique in the process), or 0 for an unknown menu.
int32_t __cdecl InsertItem_MenuEx(ExuiMenu menu, int32_t parentItem, int32_t position, int32_t style,
                                  ExuiImage icon, ExuiByteArray caption, uint32_t textColour,
                                  uint32_t hotColour, int32_t minimumWidth, int32_t height,
                                  int32_t itemData, int32_t disabled);
// Shows the menu with its top-left corner at the screen point (x, y);
// alignment: 0 (others count as 0); owner: the window the menu belongs to
// (may be null). modal 1: returns when the menu closes, with the chosen item's
// id (after its callback ran) or 0; modal 0: returns 1 at once and the menu
// lives on in the thread's message loop. Any menu already open is closed
// first. 0 for an unknown or empty menu.
int32_t __cdecl PopUp_MenuEx(ExuiMenu menu, int32_t alignment, int32_t x, int32_t y, HWND owner,
                             int32_t modal, int32_t reserved);
// Packs an ExuiFontInfo (pointer to its 84 bytes; a byte-array block
// holding it is accepted too, recognised by its leading int32 1) into packed
// font information. The
// result is a byte-array block (length at offset 4, bytes at offset 8) owned
// by the library and valid until the next call on the same thread; null
// input gives the empty block.
const ExuiByteArrayHeader* __cdecl RexcPackFontInfo(const void* fontInfo);

// A dispatcher by function number (kExuiFunction...); unknown numbers give 0.
// Its presence also tells a binding that the library is loaded.
intptr_t __cdecl CallInternalFunction_Ex(int32_t function, intptr_t a, intptr_t b, intptr_t c,
                                         intptr_t d, intptr_t e, intptr_t f);

}  // extern "C"

// The file name the program loads the library from.
inline constexpr const char* kExuiLibrary = "ExuiKrnln.dll";
