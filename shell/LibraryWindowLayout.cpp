// The library window's stored layout: the library list below a 30-pixel band, and
// the window's own skin (background and close button). The list's stored
// rectangle is larger than the window; the size-changed handler fits it.
#include "resources/LayoutImages.h"
#include "shell/LayoutBindings.h"
#include "shell/Layouts.h"

namespace qova {
namespace {

using exui::PropertyWriter;
using layout::run;
using layout::runWithFirst;

// The list's skin pictures in the library's order (kExuiListImage...).
std::vector<exui::Bytes> listSkinImages() {
  return layoutImages({"list_item.png", "list_item_hot.png", "list_thumb.png", "list_thumb_pressed.png",
                       "list_up_normal.png", "list_up_hover.png", "list_up_pressed.png", "list_down_normal.png",
                       "list_down_hover.png", "list_down_pressed.png", "list_mark.png"});
}

}  // namespace

WindowLayout libraryWindowLayout(const LibraryWindowHandlers& handlers) {
  WindowLayout window;
  window.name = "LibraryWindow";
  // The class name by which installers and scripts find the running program's windows.
  window.className = kLibraryWindowClassName;
  window.title = layout::kWindowTitle;
  window.left = 50;
  window.top = 50;
  window.width = 928;
  window.height = 550;
  window.style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
  window.events = {{kWindowEventCreated, run(handlers.created)},
                   {kWindowEventSizeChanged, run(handlers.sizeChanged)}};
  window.menuCaption = layout::kStandardMenuCaption;
  window.menu = layout::standardMenu(handlers.menu);
  window.components = {
      {ComponentClass::IcoListboxEx, kLibraryListName, "", 0, 30, 948, 588,
       PropertyWriter()
           .text(kExuiPropSkinName, u"EX_UI默认皮肤_普通列表框")
           .imageSet(kExuiPropListImages, listSkinImages())
           .data(),
       {{3, runWithFirst(handlers.itemRightClick)},
        {15, run(handlers.listRightClick)},
        {6, runWithFirst(handlers.itemClicked)}}},
      {ComponentClass::WindowEx, "窗口EX", "", 4, 4, 52, 24,
       PropertyWriter()
           .integer(kExuiPropWindowRole, kExuiWindowRoleFrame)
           .picture(kExuiPropBackground, layoutImage("popup_background.png"))
           .imageSet(kExuiPropCloseImages,
                     layoutImages({"close_normal.png", "close_hover.png", "close_pressed.png"}))
           .imageSet(kExuiPropCloseImages2x,
                     layoutImages({"close_normal_2x.png", "close_hover_2x.png", "close_pressed_2x.png"}))
           .data(),
       {{1, runWithFirst(handlers.skinClosed)}}},
  };
  return window;
}

}  // namespace qova
