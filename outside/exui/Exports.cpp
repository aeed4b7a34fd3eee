// The exports of ExuiKrnln.dll (see ExuiContract.h): each finds the control,
// image or menu behind the value it is given and forwards to it; an unknown
// value gets the contract's harmless answer.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>

#include "outside/exui/Control.h"
#include "outside/exui/EditBox.h"
#include "outside/exui/ExuiContract.h"
#include "outside/exui/Fonts.h"
#include "outside/exui/GroupBox.h"
#include "outside/exui/IconList.h"
#include "outside/exui/Menu.h"
#include "outside/exui/MenuWindow.h"
#include "outside/exui/Picture.h"
#include "outside/exui/RadioButton.h"
#include "outside/exui/SkinButton.h"
#include "outside/exui/SliderBar.h"
#include "outside/exui/WindowSkin.h"

// What an ExuiImage points at.
struct ExuiImageObject {
  qova::exui::PictureRef picture;
};

namespace {

using namespace qova::exui;

// The images LoadImageEx handed out and DestroyImageEx has not taken back.
struct ImageTable {
  std::mutex guard;
  std::set<ExuiImageObject*> live;
};

ImageTable& images() {
  static ImageTable table;
  return table;
}

// The picture of a live image; null for an unknown one.
PictureRef pictureOf(ExuiImage image) {
  if (!image) return nullptr;
  std::lock_guard lock(images().guard);
  return images().live.count(image) ? image->picture : nullptr;
}

template <typename ControlClass>
ExuiControl createControl(ExuiEventFunction events, const ExuiCreationRecord* record) {
  if (!record || !::IsWindow(record->window)) return nullptr;
  const ByteView data = record->properties && record->propertiesLength > 0
                            ? ByteView(record->properties, static_cast<size_t>(record->propertiesLength))
                            : ByteView{};
  Control* control =
      Control::adopt(std::make_unique<ControlClass>(record->window, events, PropertySet::parse(data)));
  return control ? control->handle() : nullptr;
}

std::wstring wideText(ByteView utf16) {
  const std::u16string text = textFromUtf16Bytes(utf16);
  return std::wstring(text.begin(), text.end());
}

IconList* listOf(ExuiControl list) { return IconList::of(Control::find(list)); }

// The first picture of an image set, or an empty picture.
PictureRef firstPicture(ByteView imageSet) {
  auto pictures = decodePictures(imageSet);
  return pictures.empty() ? Picture::empty() : pictures.front();
}

intptr_t callInternal(int32_t function, intptr_t a, intptr_t b, intptr_t c, intptr_t d, intptr_t e, intptr_t f) {
  auto* control = Control::find(reinterpret_cast<const void*>(a));
  switch (function) {
    case kExuiFunctionVersion:
      return kExuiVersion;
    case kExuiFunctionIsControl:
      return control ? 1 : 0;
    case kExuiFunctionControlWindow:
      return control ? reinterpret_cast<intptr_t>(control->window()) : 0;
    case kExuiFunctionControlClass:
      return control ? control->classNumber() : 0;
    case kExuiFunctionImageWidth:
    case kExuiFunctionImageHeight: {
      const PictureRef picture = pictureOf(reinterpret_cast<ExuiImage>(a));
      if (!picture) return 0;
      return function == kExuiFunctionImageWidth ? picture->width() : picture->height();
    }
    case kExuiFunctionDrawImage: {
      const PictureRef picture = pictureOf(reinterpret_cast<ExuiImage>(a));
      auto* dc = reinterpret_cast<HDC>(b);
      if (!picture || !dc) return 0;
      return picture->draw(dc, Box::sized(static_cast<int>(c), static_cast<int>(d), static_cast<int>(e),
                                          static_cast<int>(f)))
                 ? 1
                 : 0;
    }
    case kExuiFunctionListItemRect: {
      IconList* list = IconList::of(control);
      auto* rect = reinterpret_cast<RECT*>(c);
      Box box;
      if (!list || !rect || !list->itemBox(static_cast<int>(b), &box)) return 0;
      *rect = RECT{box.left, box.top, box.right, box.bottom};
      return 1;
    }
    case kExuiFunctionListScroll: {
      IconList* list = IconList::of(control);
      if (!list) return -1;
      return b < 0 ? list->scrollOffset() : list->scrollTo(static_cast<int>(b));
    }
    case kExuiFunctionMenuWindow:
      return reinterpret_cast<intptr_t>(openMenuWindow());
    case kExuiFunctionMenuItemRect:
      return openMenuItemRect(static_cast<int32_t>(a), static_cast<int32_t>(b), reinterpret_cast<RECT*>(c)) ? 1 : 0;
    default:
      return 0;
  }
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // Unloaded by FreeLibrary (not at process exit): a later load must be able to register the class again.
  if (reason == DLL_PROCESS_DETACH && !reserved) unregisterMenuWindowClass();
  return TRUE;
}

ExuiControl __cdecl CreateControl_WindowEx(int32_t, HWND, int32_t, int32_t, int32_t, int32_t,
                                           ExuiEventFunction events, const ExuiCreationRecord* record, int32_t,
                                           int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                           int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {
  return createControl<WindowSkin>(events, record);
}

ExuiControl __cdecl CreateControl_MinutesboxEx(int32_t, HWND, int32_t, int32_t, int32_t, int32_t,
                                               ExuiEventFunction events, const ExuiCreationRecord* record, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {
  return createControl<GroupBox>(events, record);
}

ExuiControl __cdecl CreateControl_ButtonEx(int32_t, HWND, int32_t, int32_t, int32_t, int32_t,
                                           ExuiEventFunction events, const ExuiCreationRecord* record, int32_t,
                                           int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                           int32_t, int32_t) {
  return createControl<SkinButton>(events, record);
}

ExuiControl __cdecl CreateControl_RadiobuttonEx(int32_t, HWND, int32_t, int32_t, int32_t, int32_t,
                                                ExuiEventFunction events, const ExuiCreationRecord* record, int32_t,
                                                int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                                int32_t, int32_t, int32_t, int32_t) {
  return createControl<RadioButton>(events, record);
}

ExuiControl __cdecl CreateControl_SliderbarEx(int32_t, HWND, int32_t, int32_t, int32_t, int32_t,
                                              ExuiEventFunction events, const ExuiCreationRecord* record, int32_t,
                                              int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                              int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {
  return createControl<SliderBar>(events, record);
}

ExuiControl __cdecl CreateControl_EditboxEx(int32_t, HWND, int32_t, int32_t, int32_t, int32_t,
                                            ExuiEventFunction events, const ExuiCreationRecord* record, int32_t,
                                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, int32_t, int32_t) {
  return createControl<EditBox>(events, record);
}

ExuiControl __cdecl CreateControl_IcoListboxEx(int32_t, HWND, int32_t, int32_t, int32_t, int32_t,
                                               ExuiEventFunction events, const ExuiCreationRecord* record, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t) {
  return createControl<IconList>(events, record);
}

intptr_t __cdecl ControlSendMessage(ExuiControl control, int32_t message, int32_t property, intptr_t data,
                                    int32_t, int32_t) {
  Control* target = Control::find(control);
  return target ? target->sendMessage(message, property, data) : 0;
}

int32_t __cdecl ControPonintSizeSynchronise(HWND window, int32_t what) {
  Control* control = Control::ofWindow(window);
  if (!control || !control->alive()) return 0;
  control->synchronise(what);
  return 1;
}

int32_t __cdecl ControlDestroy(ExuiControl control) {
  Control* target = Control::find(control);
  if (!target) return 0;
  Control::destroy(target);
  return 1;
}

int32_t __cdecl GetItemCount_IcoListboxEx(ExuiControl list) {
  IconList* target = listOf(list);
  return target ? target->count() : 0;
}

int32_t __cdecl DeleteItem_IcoListboxEx(ExuiControl list, int32_t index, int32_t count) {
  IconList* target = listOf(list);
  return target ? target->remove(index, count) : 0;
}

int32_t __cdecl InsertItem_IcoListboxEx(ExuiControl list, int32_t position, int32_t fit, int32_t itemData,
                                        ExuiImage image, ExuiByteArray title, int32_t titleColour) {
  IconList* target = listOf(list);
  if (!target) return -1;
  const PictureRef picture = pictureOf(image);
  return target->insert(position, fit != kExuiFitStretch, itemData, picture ? picture : Picture::empty(),
                        wideText(byteBlockBytes(title)), static_cast<uint32_t>(titleColour));
}

ExuiImage __cdecl LoadImageEx(ExuiByteArray bytes) {
  auto image = std::make_unique<ExuiImageObject>();
  // Decoded when first measured or drawn: images only passed on to list items are never decoded here.
  const ByteView file = byteBlockBytes(bytes);
  image->picture = Picture::decodeLater(std::make_shared<const Bytes>(file.begin(), file.end()));
  std::lock_guard lock(images().guard);
  images().live.insert(image.get());
  return image.release();
}

int32_t __cdecl DestroyImageEx(ExuiImage image) {
  std::unique_ptr<ExuiImageObject> owned;
  std::lock_guard lock(images().guard);
  if (!image || !images().live.erase(image)) return 0;
  owned.reset(image);
  return 1;
}

ExuiMenu __cdecl Create_MenuEx(int32_t iconWidth, int32_t iconHeight, ExuiByteArray menuSkin, ExuiByteArray font,
                               ExuiByteArray itemSkin, int32_t opacity, ExuiMenuCallback callback,
                               int32_t menuNumber) {
  Menu menu;
  menu.iconWidth = std::clamp(iconWidth, 0, 256);
  menu.iconHeight = std::clamp(iconHeight, 0, 256);
  menu.face = firstPicture(byteBlockBytes(menuSkin));
  menu.hotFace = firstPicture(byteBlockBytes(itemSkin));
  const auto description = unpackFontInfo(byteBlockBytes(font));
  menu.fontDescription = description.value_or(FontDescription{});
  menu.font = describedFont(menu.fontDescription);
  menu.opacity = static_cast<BYTE>(std::clamp(opacity, 0, 255));
  menu.callback = callback;
  menu.number = menuNumber;
  return createMenu(std::move(menu));
}

int32_t __cdecl InsertItem_MenuEx(ExuiMenu menu, int32_t, int32_t position, int32_t style, ExuiImage icon,
                                  ExuiByteArray caption, uint32_t textColour, uint32_t hotColour,
                                  int32_t minimumWidth, int32_t height, int32_t itemData, int32_t disabled) {
  Menu* target = findMenu(menu);
  if (!target) return 0;
  MenuItem item;
  item.id = nextMenuItemId();
  item.caption = wideText(byteBlockBytes(caption));
  const PictureRef picture = pictureOf(icon);
  item.icon = picture ? picture->fittedInto(Box::sized(0, 0, target->iconWidth, target->iconHeight), true, nullptr)
                      : Picture::empty();
  // Icons already small enough keep their own pixels.
  if (picture && picture->width() <= target->iconWidth && picture->height() <= target->iconHeight)
    item.icon = picture;
  item.textColour = textColour;
  item.hotColour = hotColour;
  item.minimumWidth = std::clamp(minimumWidth, 0, 4096);
  item.height = std::clamp(height, 1, 512);
  item.data = itemData;
  item.disabled = disabled != 0;
  item.separator = style == kExuiMenuItemSeparator;
  const int32_t id = item.id;
  const auto at = position < 0 || static_cast<size_t>(position) > target->items.size()
                      ? target->items.end()
                      : target->items.begin() + position;
  target->items.insert(at, std::move(item));
  return id;
}

int32_t __cdecl PopUp_MenuEx(ExuiMenu menu, int32_t, int32_t x, int32_t y, HWND owner, int32_t modal, int32_t) {
  Menu* target = findMenu(menu);
  if (!target) return 0;
  return popUpMenu(*target, x, y, owner, modal != 0);
}

const ExuiByteArrayHeader* __cdecl RexcPackFontInfo(const void* fontInfo) {
  thread_local Bytes packed;
  ExuiFontInfo info{};
  if (fontInfo) {
    // A byte-array block holding the record is taken as well as the record
    // itself: no face name starts with U+0001 followed by a NUL.
    int32_t first = 0;
    std::memcpy(&first, fontInfo, sizeof first);
    if (first == 1) {
      const ByteView block = byteBlockBytes(fontInfo);
      if (!block.empty()) std::memcpy(&info, block.data(), std::min(block.size(), sizeof info));
    } else {
      std::memcpy(&info, fontInfo, sizeof info);
    }
    packed = makeByteBlock(packFontInfo(info));
  } else {
    packed = makeByteBlock({});
  }
  return reinterpret_cast<const ExuiByteArrayHeader*>(packed.data());
}

intptr_t __cdecl CallInternalFunction_Ex(int32_t function, intptr_t a, intptr_t b, intptr_t c, intptr_t d,
                                         intptr_t e, intptr_t f) {
  return callInternal(function, a, b, c, d, e, f);
}

}  // extern "C"
