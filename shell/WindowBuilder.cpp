#include "shell/WindowBuilder.h"

#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "runtime/UniqueHandle.h"
#include "runtime/WindowDpi.h"
#include "shell/ClickAwayClosesMenu.h"

namespace qova {
namespace {

inline void destroyMenuHandle(HMENU menu) { ::DestroyMenu(menu); }
using UniqueMenu = UniqueResource<NullIsEmpty<HMENU, destroyMenuHandle>>;

// The program's icon (resource 1) when it has one, else the system's application icon.
constexpr int kProgramIconResource = 1;

struct BuiltWindow {
  WindowLayout layout;
  WindowMessageHandler messageHandler;
  int32_t identifier = 0;
  std::map<std::string, HWND, std::less<>> components;
  UniqueMenu menuBar;
  int dpi = kDesignDpi;  // the DPI the components are laid out at
  bool ready = false;  // every component exists: events may be raised
};

// Which window and layout row a component belongs to.
struct ComponentOwner {
  HWND window = nullptr;
  size_t row = 0;
};

std::map<HWND, std::unique_ptr<BuiltWindow>>& builtWindows() {
  static std::map<HWND, std::unique_ptr<BuiltWindow>> windows;
  return windows;
}

std::unordered_map<HWND, ComponentOwner>& componentOwners() {
  static std::unordered_map<HWND, ComponentOwner> owners;
  return owners;
}

// The window CreateWindowExA is making now; it joins builtWindows() with its first message.
std::unique_ptr<BuiltWindow>& windowBeingCreated() {
  static std::unique_ptr<BuiltWindow> pending;
  return pending;
}

BuiltWindow* builtWindowOf(HWND window) {
  const auto found = builtWindows().find(window);
  return found == builtWindows().end() ? nullptr : found->second.get();
}

// Calls every handler bound to the event. The handlers are picked first:
// one of them may destroy the window and its layout with it.
void raise(const std::vector<EventBinding>& bindings, const LayoutEvent& event) {
  std::vector<LayoutEventHandler> handlers;
  for (const EventBinding& binding : bindings)
    if (binding.number == event.number && binding.handler) handlers.push_back(binding.handler);
  for (const LayoutEventHandler& handler : handlers) handler(event);
}

void raiseWindowEvent(HWND window, int32_t number) {
  const BuiltWindow* built = builtWindowOf(window);
  if (!built || !built->ready) return;
  raise(built->layout.events, LayoutEvent{window, window, number});
}

void onComponentEvent(HWND component, int32_t number, int32_t a, int32_t b, int32_t c, int32_t d) {
  const auto owner = componentOwners().find(component);
  if (owner == componentOwners().end()) return;
  const BuiltWindow* built = builtWindowOf(owner->second.window);
  if (!built || !built->ready || owner->second.row >= built->layout.components.size()) return;
  raise(built->layout.components[owner->second.row].events,
        LayoutEvent{owner->second.window, component, number, a, b, c, d});
}

void onComponentDestroyed(HWND component) {
  const auto owner = componentOwners().find(component);
  if (owner == componentOwners().end()) return;
  if (BuiltWindow* built = builtWindowOf(owner->second.window)) {
    for (auto named = built->components.begin(); named != built->components.end();)
      named = named->second == component ? built->components.erase(named) : std::next(named);
  }
  componentOwners().erase(owner);
}

void placeComponents(const BuiltWindow& built);

// The system moved the window to a monitor of another DPI: the components are
// laid out at it, then the window takes the rectangle the system suggests (its
// size-changed event lets the program fit what it sizes itself).
void onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  BuiltWindow* built = builtWindowOf(window);
  const int dpi = HIWORD(wParam);
  if (!built || dpi <= 0) return;
  built->dpi = dpi;
  placeComponents(*built);
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested)
    ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK layoutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (windowBeingCreated() && !builtWindowOf(window)) builtWindows()[window] = std::move(windowBeingCreated());
  const BuiltWindow* built = builtWindowOf(window);
  // A copy: the handler may destroy the window and its record with it.
  const WindowMessageHandler handler = built ? built->messageHandler : WindowMessageHandler{};
  if (message == WM_DPICHANGED) onDpiChanged(window, wParam, lParam);
  const LRESULT result = handler ? handler(window, message, wParam, lParam)
                                 : ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_SIZE) raiseWindowEvent(window, kWindowEventSizeChanged);
  if (message == WM_NCDESTROY) builtWindows().erase(window);
  return result;
}

HICON programIcon(int size) {
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  auto icon = static_cast<HICON>(
      ::LoadImageA(instance, MAKEINTRESOURCEA(kProgramIconResource), IMAGE_ICON, size, size, LR_SHARED));
  return icon ? icon : ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

void registerWindowClass(const std::string& name) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  if (::GetClassInfoExA(instance, name.c_str(), &windowClass)) return;
  windowClass.lpfnWndProc = layoutWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  windowClass.hIcon = programIcon(::GetSystemMetrics(SM_CXICON));
  windowClass.hIconSm = programIcon(::GetSystemMetrics(SM_CXSMICON));
  windowClass.lpszClassName = name.c_str();
  ::RegisterClassExA(&windowClass);
}

// The notification-area icon takes the window's own small icon, so the window carries one.
void setWindowIcons(HWND window) {
  ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(programIcon(::GetSystemMetrics(SM_CXICON))));
  ::SendMessageA(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(programIcon(::GetSystemMetrics(SM_CXSMICON))));
}

// A menu bar with the one top entry; never attached to the window, so it stays hidden.
UniqueMenu makeStandardMenu(const WindowLayout& layout) {
  if (layout.menu.empty()) return {};
  UniqueMenu bar(::CreateMenu());
  HMENU items = ::CreatePopupMenu();
  if (!bar || !items) {
    if (items) ::DestroyMenu(items);
    return {};
  }
  for (size_t i = 0; i < layout.menu.size(); ++i)
    ::AppendMenuA(items, MF_STRING, i + 1, layout.menu[i].caption.c_str());
  if (!::AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(items), layout.menuCaption.c_str())) {
    ::DestroyMenu(items);
    return {};
  }
  return bar;
}

void createComponentRow(BuiltWindow& built, HWND window, size_t row) {
  const ComponentLayout& layout = built.layout.components[row];
  HWND parent = window;
  if (!layout.parent.empty()) {
    const auto container = built.components.find(layout.parent);
    if (container != built.components.end()) parent = container->second;
  }
  ComponentPlacement placement;
  placement.componentClass = layout.componentClass;
  placement.parent = parent;
  placement.left = scaledForDpi(layout.left, built.dpi);
  placement.top = scaledForDpi(layout.top, built.dpi);
  placement.width = scaledForDpi(layout.width, built.dpi);
  placement.height = scaledForDpi(layout.height, built.dpi);
  placement.windowIdentifier = built.identifier;
  placement.componentIdentifier = static_cast<int32_t>(row + 1);
  placement.properties = layout.properties;
  HWND component = createComponent(placement);
  if (!component) return;
  built.components.emplace(layout.name, component);
  componentOwners()[component] = {window, row};
  if (built.dpi != kDesignDpi) setComponentProperty(component, kExuiPropDpi, built.dpi);
}

// Every component at its layout row's rectangle, scaled to the window's DPI.
void placeComponents(const BuiltWindow& built) {
  for (const auto& [name, component] : built.components) {
    const auto owner = componentOwners().find(component);
    if (owner == componentOwners().end() || owner->second.row >= built.layout.components.size()) continue;
    const ComponentLayout& row = built.layout.components[owner->second.row];
    setComponentProperty(component, kExuiPropDpi, built.dpi);
    ::SetWindowPos(component, nullptr, scaledForDpi(row.left, built.dpi), scaledForDpi(row.top, built.dpi),
                   scaledForDpi(row.width, built.dpi), scaledForDpi(row.height, built.dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace

HWND buildWindow(const WindowLayout& layout, const BuildOptions& options) {
  loadComponentLibrary();
  static const bool listening = [] {
    setComponentListener({&onComponentEvent, &onComponentDestroyed});
    return true;
  }();
  (void)listening;
  registerWindowClass(layout.className);

  static int32_t lastIdentifier = 0;
  auto built = std::make_unique<BuiltWindow>();
  built->layout = layout;
  built->messageHandler = options.messageHandler;
  built->identifier = ++lastIdentifier;
  BuiltWindow& record = *built;
  windowBeingCreated() = std::move(built);
  HWND window = ::CreateWindowExA(layout.exStyle, layout.className.c_str(), layout.title.c_str(),
                                  layout.style & ~static_cast<DWORD>(WS_VISIBLE), layout.left, layout.top,
                                  layout.width, layout.height, options.parent, nullptr, ::GetModuleHandleA(nullptr),
                                  nullptr);
  windowBeingCreated().reset();
  if (!window || !builtWindowOf(window)) return nullptr;
  if (options.handle) *options.handle = window;
  record.dpi = windowDpi(window);
  if (record.dpi != kDesignDpi)
    ::SetWindowPos(window, nullptr, 0, 0, scaledForDpi(layout.width, record.dpi),
                   scaledForDpi(layout.height, record.dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  setWindowIcons(window);
  record.menuBar = makeStandardMenu(record.layout);
  for (size_t row = 0; row < record.layout.components.size(); ++row) createComponentRow(record, window, row);
  record.ready = true;

  raiseWindowEvent(window, kWindowEventSizeChanged);
  raiseWindowEvent(window, kWindowEventCreated);
  return ::IsWindow(window) ? window : nullptr;
}

HWND controlByName(HWND window, std::string_view name) {
  const BuiltWindow* built = builtWindowOf(window);
  if (!built) return nullptr;
  const auto found = built->components.find(name);
  return found == built->components.end() ? nullptr : found->second;
}

const WindowLayout* layoutOf(HWND window) {
  const BuiltWindow* built = builtWindowOf(window);
  return built ? &built->layout : nullptr;
}

int layoutDpi(HWND window) {
  const BuiltWindow* built = builtWindowOf(window);
  return built ? built->dpi : kDesignDpi;
}

int scaledFor(HWND window, int value) { return scaledForDpi(value, layoutDpi(window)); }

bool popUpStandardMenu(HWND window, int32_t x, int32_t y) {
  const BuiltWindow* built = builtWindowOf(window);
  if (!built || !built->menuBar) return false;
  HMENU items = ::GetSubMenu(built->menuBar.get(), 0);
  // A menu whose owner is not in front would not close on a click elsewhere,
  // so the owner comes to the front; but a window that never activates leaves
  // the focus where it is, and its menu watches for such a click itself.
  const bool inFront = (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE) == 0;
  if (inFront) ::SetForegroundWindow(window);
  size_t chosen = 0;
  {
    std::optional<ClickAwayClosesMenu> clickAway;
    if (!inFront) clickAway.emplace();
    chosen = static_cast<size_t>(
        ::TrackPopupMenu(items, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, window, nullptr));
  }
  ::PostMessageA(window, WM_NULL, 0, 0);
  built = builtWindowOf(window);
  if (chosen == 0 || !built || chosen > built->layout.menu.size()) return false;
  // A copy: the handler may destroy the window and its layout with it.
  if (const std::function<void()> handler = built->layout.menu[chosen - 1].handler) handler();
  return true;
}

}  // namespace qova
