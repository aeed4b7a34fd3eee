#include "engines/ExuiBinding.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>

#include "runtime/OutsideFunction.h"
#include "runtime/ProgramDirectory.h"

namespace qova {
namespace {

constexpr const char* kUnitProperty = "hUnit";
constexpr const char* kControlProperty = "Tab_Control";
constexpr const char* kDestroyingProperty = "Tab_WM_DESTROY";
constexpr const char* kIsWinControlProperty = "Tab_IsWinControl";

// Where the library may sit, below the program's folder. The library used to
// be looked for also at a path read from "C:\ExuiKrnln.ini" or
// "D:\ExuiKrnln.ini"; files at a drive's root can be created by any user, so
// that would let another user choose the code this program loads. Gone.
constexpr const char* kLibraryPlaces[] = {"ExuiKrnln.dll", "lib\\ExuiKrnln\\ExuiKrnln.dll"};
// The library's own imports come from its folder and the system's, never from the current directory.
constexpr DWORD kLoadFlags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
// Its presence tells that the library is ours to use.
constexpr const char* kPresenceExport = "CallInternalFunction_Ex";

struct Exports {
  decltype(&CreateControl_WindowEx) createWindowEx = nullptr;
  decltype(&CreateControl_MinutesboxEx) createMinutesboxEx = nullptr;
  decltype(&CreateControl_ButtonEx) createButtonEx = nullptr;
  decltype(&CreateControl_RadiobuttonEx) createRadiobuttonEx = nullptr;
  decltype(&CreateControl_SliderbarEx) createSliderbarEx = nullptr;
  decltype(&CreateControl_EditboxEx) createEditboxEx = nullptr;
  decltype(&CreateControl_IcoListboxEx) createIcoListboxEx = nullptr;
  decltype(&ControlSendMessage) controlSendMessage = nullptr;
  decltype(&ControPonintSizeSynchronise) sizeSynchronise = nullptr;
  decltype(&ControlDestroy) controlDestroy = nullptr;
  decltype(&GetItemCount_IcoListboxEx) getItemCount = nullptr;
  decltype(&DeleteItem_IcoListboxEx) deleteItem = nullptr;
  decltype(&InsertItem_IcoListboxEx) insertItem = nullptr;
  decltype(&LoadImageEx) loadImage = nullptr;
  decltype(&DestroyImageEx) destroyImage = nullptr;
  decltype(&Create_MenuEx) createMenu = nullptr;
  decltype(&InsertItem_MenuEx) insertMenuItem = nullptr;
  decltype(&PopUp_MenuEx) popUpMenu = nullptr;
  decltype(&CallInternalFunction_Ex) callInternal = nullptr;
};

Exports& exports() {
  static Exports bound;
  return bound;
}

const OutsideFunction<decltype(&RexcPackFontInfo)> rexcPackFontInfo{kExuiLibrary, "RexcPackFontInfo"};

// Calls an export, or gives 0 (null) when the library lacks it.
template <typename Fn, typename... Args>
auto call(Fn function, Args... arguments) -> decltype(function(arguments...)) {
  if (!function) return {};
  return function(arguments...);
}

template <typename Fn>
void bind(HMODULE module, Fn& slot, const char* name) {
  slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

struct ClassInfo {
  const char* windowClass;
  int32_t kind;
  int32_t eventBase;
};

ClassInfo classInfo(ComponentClass componentClass) {
  switch (componentClass) {
    case ComponentClass::WindowEx: return {kExuiClassWindowExName, kExuiKindWindowEx, kExuiEventBaseWindowEx};
    case ComponentClass::MinutesboxEx:
      return {kExuiClassMinutesboxExName, kExuiKindMinutesboxEx, kExuiEventBaseMinutesboxEx};
    case ComponentClass::ButtonEx: return {kExuiClassButtonExName, kExuiKindButtonEx, kExuiEventBaseButtonEx};
    case ComponentClass::RadiobuttonEx:
      return {kExuiClassRadiobuttonExName, kExuiKindRadiobuttonEx, kExuiEventBaseRadiobuttonEx};
    case ComponentClass::SliderbarEx:
      return {kExuiClassSliderbarExName, kExuiKindSliderbarEx, kExuiEventBaseSliderbarEx};
    case ComponentClass::EditboxEx: return {kExuiClassEditboxExName, kExuiKindEditboxEx, kExuiEventBaseEditboxEx};
    case ComponentClass::IcoListboxEx:
      return {kExuiClassIcoListboxExName, kExuiKindIcoListboxEx, kExuiEventBaseIcoListboxEx};
  }
  return {kExuiClassWindowExName, kExuiKindWindowEx, kExuiEventBaseWindowEx};
}

// The components alive now: their class, by window and by control.
struct Component {
  ComponentClass componentClass;
  ExuiControl control;
};
std::unordered_map<HWND, Component>& componentsByWindow() {
  static std::unordered_map<HWND, Component> components;
  return components;
}
std::unordered_map<ExuiControl, HWND>& windowsByControl() {
  static std::unordered_map<ExuiControl, HWND> windows;
  return windows;
}

ComponentListener& listener() {
  static ComponentListener current;
  return current;
}

int32_t __cdecl componentEvent(ExuiControl control, int32_t code, int32_t a, int32_t b, int32_t c, int32_t d) {
  if (code >= kExuiCodeIgnoredFrom) return 0;
  const auto window = windowsByControl().find(control);
  if (window == windowsByControl().end()) return 0;
  const auto component = componentsByWindow().find(window->second);
  if (component == componentsByWindow().end()) return 0;
  const int32_t number = code - kExuiCodeFirst + classInfo(component->second.componentClass).eventBase;
  if (listener().event) listener().event(window->second, number, a, b, c, d);
  return 0;
}

void forgetComponent(HWND window) {
  const auto found = componentsByWindow().find(window);
  if (found == componentsByWindow().end()) return;
  windowsByControl().erase(found->second.control);
  componentsByWindow().erase(found);
}

// The binding's procedure of every component class; the library's control
// sits in front of it and passes on what it does not consume.
LRESULT CALLBACK componentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOVE:
    case WM_SIZE: {
      // A window skin keeps its own place in its parent's corner.
      const auto found = componentsByWindow().find(window);
      const bool skinOfParent = found != componentsByWindow().end() &&
                                found->second.componentClass == ComponentClass::WindowEx &&
                                ::GetPropA(window, kIsWinControlProperty);
      if (!skinOfParent)
        call(exports().sizeSynchronise, window, message == WM_MOVE ? kExuiSyncMoved : kExuiSyncSized);
      break;
    }
    case WM_NCDESTROY: {
      ::SetPropA(window, kDestroyingProperty, reinterpret_cast<HANDLE>(1));
      if (listener().destroyed) listener().destroyed(window);
      call(exports().controlDestroy, static_cast<ExuiControl>(::GetPropA(window, kControlProperty)));
      forgetComponent(window);
      ::RemovePropA(window, kDestroyingProperty);
      ::RemovePropA(window, kUnitProperty);
      break;
    }
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void registerComponentClass(const char* name) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  if (::GetClassInfoExA(instance, name, &windowClass)) return;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = componentWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = name;
  ::RegisterClassExA(&windowClass);
}

struct CreateArguments {
  HWND parent;
  int32_t x, y, width, height;
  const ExuiCreationRecord* record;
};

// The create exports take eight arguments that matter, then zeros up to the class's count.
template <typename Fn, size_t... Zero>
ExuiControl createWithZeros(Fn create, const CreateArguments& a, std::index_sequence<Zero...>) {
  return create(0, a.parent, a.x, a.y, a.width, a.height, &componentEvent, a.record, ((void)Zero, 0)...);
}

template <int Count, typename Fn>
ExuiControl createControl(Fn create, const CreateArguments& arguments) {
  if (!create) return nullptr;
  return createWithZeros(create, arguments, std::make_index_sequence<Count - 8>{});
}

ExuiControl createControlOf(ComponentClass componentClass, const CreateArguments& a) {
  const Exports& e = exports();
  switch (componentClass) {
    case ComponentClass::WindowEx: return createControl<kExuiArgumentsWindowEx>(e.createWindowEx, a);
    case ComponentClass::MinutesboxEx: return createControl<kExuiArgumentsMinutesboxEx>(e.createMinutesboxEx, a);
    case ComponentClass::ButtonEx: return createControl<kExuiArgumentsButtonEx>(e.createButtonEx, a);
    case ComponentClass::RadiobuttonEx: return createControl<kExuiArgumentsRadiobuttonEx>(e.createRadiobuttonEx, a);
    case ComponentClass::SliderbarEx: return createControl<kExuiArgumentsSliderbarEx>(e.createSliderbarEx, a);
    case ComponentClass::EditboxEx: return createControl<kExuiArgumentsEditboxEx>(e.createEditboxEx, a);
    case ComponentClass::IcoListboxEx: return createControl<kExuiArgumentsIcoListboxEx>(e.createIcoListboxEx, a);
  }
  return nullptr;
}

// A byte array as the library takes it: a block of 1, the length, the bytes.
class ByteBlock {
 public:
  explicit ByteBlock(exui::ByteView bytes) : block_(exui::makeByteBlock(bytes)) {}
  ExuiByteArray get() const { return reinterpret_cast<ExuiByteArray>(block_.data()); }
  intptr_t value() const { return reinterpret_cast<intptr_t>(block_.data()); }

 private:
  exui::Bytes block_;
};

bool readProperty(HWND component, int32_t property, ExuiPropertyValue* value) {
  return call(exports().controlSendMessage, controlOf(component), kExuiMessageGetProperty, property,
              reinterpret_cast<intptr_t>(value), 0, 0) != 0;
}

}  // namespace

const char* componentClassName(ComponentClass componentClass) { return classInfo(componentClass).windowClass; }

void loadComponentLibrary() {
  Exports& e = exports();
  if (e.callInternal) return;
  HMODULE module = nullptr;
  // Without the program's folder a place would name the current drive's root instead.
  for (const char* place : kLibraryPlaces) {
    if (module || programDirectory().empty()) break;
    module = ::LoadLibraryExA(programFile(place).c_str(), nullptr, kLoadFlags);
  }
  if (!module || !::GetProcAddress(module, kPresenceExport)) failMissingExport(kExuiLibrary, kPresenceExport);
  bind(module, e.createWindowEx, "CreateControl_WindowEx");
  bind(module, e.createMinutesboxEx, "CreateControl_MinutesboxEx");
  bind(module, e.createButtonEx, "CreateControl_ButtonEx");
  bind(module, e.createRadiobuttonEx, "CreateControl_RadiobuttonEx");
  bind(module, e.createSliderbarEx, "CreateControl_SliderbarEx");
  bind(module, e.createEditboxEx, "CreateControl_EditboxEx");
  bind(module, e.createIcoListboxEx, "CreateControl_IcoListboxEx");
  bind(module, e.controlSendMessage, "ControlSendMessage");
  bind(module, e.sizeSynchronise, "ControPonintSizeSynchronise");
  bind(module, e.controlDestroy, "ControlDestroy");
  bind(module, e.getItemCount, "GetItemCount_IcoListboxEx");
  bind(module, e.deleteItem, "DeleteItem_IcoListboxEx");
  bind(module, e.insertItem, "InsertItem_IcoListboxEx");
  bind(module, e.loadImage, "LoadImageEx");
  bind(module, e.destroyImage, "DestroyImageEx");
  bind(module, e.createMenu, "Create_MenuEx");
  bind(module, e.insertMenuItem, "InsertItem_MenuEx");
  bind(module, e.popUpMenu, "PopUp_MenuEx");
  bind(module, e.callInternal, kPresenceExport);
}

void setComponentListener(const ComponentListener& next) { listener() = next; }

HWND createComponent(const ComponentPlacement& placement) {
  const ClassInfo info = classInfo(placement.componentClass);
  registerComponentClass(info.windowClass);
  HWND window = ::CreateWindowExA(0, info.windowClass, nullptr,
                                  placement.style | WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS, placement.left,
                                  placement.top, placement.width, placement.height, placement.parent,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(placement.componentIdentifier)),
                                  ::GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  ::SetPropA(window, kUnitProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(placement.componentIdentifier)));

  const ExuiCreationRecord record{window,
                                  placement.componentIdentifier,
                                  placement.windowIdentifier,
                                  info.kind,
                                  placement.properties.data(),
                                  static_cast<int32_t>(placement.properties.size())};
  const CreateArguments arguments{placement.parent, placement.left, placement.top, placement.width,
                                  placement.height, &record};
  ExuiControl control = createControlOf(placement.componentClass, arguments);
  if (control) {
    componentsByWindow()[window] = {placement.componentClass, control};
    windowsByControl()[control] = window;
  }
  return window;
}

ExuiControl controlOf(HWND component) {
  if (!component) return nullptr;
  const auto found = componentsByWindow().find(component);
  return found == componentsByWindow().end() ? nullptr : found->second.control;
}

bool setComponentProperty(HWND component, int32_t property, int32_t value) {
  return call(exports().controlSendMessage, controlOf(component), kExuiMessageSetProperty, property,
              static_cast<intptr_t>(value), 0, 0) != 0;
}

bool setComponentProperty(HWND component, int32_t property, exui::ByteView bytes) {
  const ByteBlock block(bytes);
  return call(exports().controlSendMessage, controlOf(component), kExuiMessageSetProperty, property, block.value(),
              0, 0) != 0;
}

int32_t componentIntegerProperty(HWND component, int32_t property, int32_t fallback) {
  ExuiPropertyValue value{};
  return readProperty(component, property, &value) ? value.integer : fallback;
}

exui::Bytes componentBytesProperty(HWND component, int32_t property) {
  ExuiPropertyValue value{};
  if (!readProperty(component, property, &value) || !value.bytes || value.length <= 0) return {};
  return exui::Bytes(value.bytes, value.bytes + value.length);
}

UniqueGlobalMemory componentPropertyBlock(HWND component) {
  const auto* block = reinterpret_cast<const ExuiByteArrayHeader*>(
      call(exports().controlSendMessage, controlOf(component), kExuiMessageGetAllProperties, -1, intptr_t{0}, 0, 0));
  if (!block || block->length < 0) return {};
  const size_t size = sizeof(ExuiByteArrayHeader) + static_cast<size_t>(block->length);
  UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) return {};
  void* target = ::GlobalLock(memory.get());
  if (!target) return {};
  std::memcpy(target, block, size);
  ::GlobalUnlock(memory.get());
  return memory;
}

bool setButtonImages(HWND button, exui::ByteView imageSet) {
  return setComponentProperty(button, kExuiPropStateImages, imageSet);
}

int32_t sliderPosition(HWND slider) { return componentIntegerProperty(slider, kExuiPropValue, 0); }

bool setSliderPosition(HWND slider, int32_t position) {
  return setComponentProperty(slider, kExuiPropValue, position);
}

int32_t listItemCount(HWND list) { return call(exports().getItemCount, controlOf(list)); }

int32_t deleteListItems(HWND list, int32_t index, int32_t count) {
  return call(exports().deleteItem, controlOf(list), index, count);
}

int32_t insertListItem(HWND list, int32_t position, int32_t fit, int32_t itemData, ExuiImage image,
                       exui::ByteView title, int32_t titleColour) {
  const ByteBlock block(title);
  return call(exports().insertItem, controlOf(list), position, fit, itemData, image, block.get(), titleColour);
}

ExuiImage loadImage(exui::ByteView bytes) {
  const ByteBlock block(bytes);
  return call(exports().loadImage, block.get());
}

int32_t destroyImage(ExuiImage image) { return call(exports().destroyImage, image); }

ExuiMenu createMenu(int32_t iconWidth, int32_t iconHeight, exui::ByteView menuSkin, exui::ByteView font,
                    exui::ByteView itemSkin, int32_t opacity, ExuiMenuCallback callback, int32_t menuNumber) {
  const ByteBlock menuSkinBlock(menuSkin), fontBlock(font), itemSkinBlock(itemSkin);
  return call(exports().createMenu, iconWidth, iconHeight, menuSkinBlock.get(), fontBlock.get(), itemSkinBlock.get(),
              opacity, callback, menuNumber);
}

int32_t insertMenuItem(ExuiMenu menu, int32_t parentItem, int32_t position, int32_t style, ExuiImage icon,
                       exui::ByteView caption, uint32_t textColour, uint32_t hotColour, int32_t minimumWidth,
                       int32_t height, int32_t itemData, bool disabled) {
  const ByteBlock captionBlock(caption);
  return call(exports().insertMenuItem, menu, parentItem, position, style, icon, captionBlock.get(), textColour,
              hotColour, minimumWidth, height, itemData, disabled ? 1 : 0);
}

int32_t popUpMenu(ExuiMenu menu, int32_t alignment, int32_t x, int32_t y, HWND owner, bool modal,
                  int32_t reserved) {
  return call(exports().popUpMenu, menu, alignment, x, y, owner, modal ? 1 : 0, reserved);
}

exui::Bytes packFontInfo(const ExuiFontInfo& fontInfo) {
  const ExuiByteArrayHeader* packed = rexcPackFontInfo(&fontInfo);
  if (!packed || packed->length <= 0) return {};
  const exui::ByteView bytes = exui::byteBlockBytes(packed);
  return exui::Bytes(bytes.begin(), bytes.end());
}

}  // namespace qova
