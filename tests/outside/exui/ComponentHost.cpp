#include "tests/outside/exui/ComponentHost.h"


#include "tests/outside/exui/ExuiApi.h"

namespace qova::test {
namespace {

struct ComponentInfo {
  const char* className;
  int32_t kind;
  int32_t eventBase;
};

ComponentInfo infoOf(Component component) {
  switch (component) {
    case Component::WindowEx: return {kExuiClassWindowExName, kExuiKindWindowEx, kExuiEventBaseWindowEx};
    case Component::MinutesboxEx:
      return {kExuiClassMinutesboxExName, kExuiKindMinutesboxEx, kExuiEventBaseMinutesboxEx};
    case Component::ButtonEx: return {kExuiClassButtonExName, kExuiKindButtonEx, kExuiEventBaseButtonEx};
    case Component::RadiobuttonEx:
      return {kExuiClassRadiobuttonExName, kExuiKindRadiobuttonEx, kExuiEventBaseRadiobuttonEx};
    case Component::SliderbarEx:
      return {kExuiClassSliderbarExName, kExuiKindSliderbarEx, kExuiEventBaseSliderbarEx};
    case Component::EditboxEx: return {kExuiClassEditboxExName, kExuiKindEditboxEx, kExuiEventBaseEditboxEx};
    case Component::IcoListboxEx:
      return {kExuiClassIcoListboxExName, kExuiKindIcoListboxEx, kExuiEventBaseIcoListboxEx};
  }
  return {"", 0, 0};
}

// Wine hands top-level windows to the X window manager, and hiding one then
// waits seconds for a manager that the virtual test display does not have.
// A per-program Wine setting keeps this program's windows to itself
// (Windows ignores it); it must be in place before the first window.
const bool unmanaged = [] {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\exui_tests.exe\\X11 Driver", 0, nullptr,
                        0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  static const char kNo[] = "N";
  ::RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNo), sizeof kNo);
  ::RegCloseKey(key);
  return true;
}();

std::vector<RecordedEvent> events;
std::function<void(const RecordedEvent&)> reaction;

int32_t __cdecl recordEvent(ExuiControl control, int32_t code, int32_t a, int32_t b, int32_t c, int32_t d) {
  if (code >= kExuiCodeIgnoredFrom) return 0;
  // Every class's event base is 0 in this library; the binding still adds it.
  const RecordedEvent event{control, code - kExuiCodeFirst, a, b, c, d};
  events.push_back(event);
  if (reaction) reaction(event);
  return 0;
}

// The binding's own window procedure of every component class.
LRESULT CALLBACK bindingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOVE:
    case WM_SIZE:
      if (!::GetPropA(window, "Tab_IsWinControl"))
        exui().sizeSynchronise(window, message == WM_MOVE ? kExuiSyncMoved : kExuiSyncSized);
      break;
    case WM_NCDESTROY:
      ::SetPropA(window, "Tab_WM_DESTROY", reinterpret_cast<HANDLE>(1));
      exui().controlDestroy(static_cast<ExuiControl>(::GetPropA(window, "Tab_Control")));
      ::RemovePropA(window, "Tab_WM_DESTROY");
      break;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void registerClass(const char* name, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (::GetClassInfoExA(::GetModuleHandleA(nullptr), name, &windowClass)) return;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = name;
  ::RegisterClassExA(&windowClass);
}

}  // namespace

ComponentHost::ComponentHost(int width, int height, int x, int y) {
  registerClass("ExuiTestHost", &::DefWindowProcA);
  RECT frame{0, 0, width, height};
  ::AdjustWindowRectEx(&frame, WS_POPUP, FALSE, 0);
  window_ = ::CreateWindowExA(0, "ExuiTestHost", "exui test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
  ::SetForegroundWindow(window_);
  ::UpdateWindow(window_);
}

ComponentHost::~ComponentHost() {
  if (window_) ::DestroyWindow(window_);
  clearEvents();
  setEventReaction({});
}

ExuiControl ComponentHost::create(Component component, const exui::Bytes& properties, exui::Box rectangle,
                                  HWND parent) {
  const ComponentInfo info = infoOf(component);
  registerClass(info.className, &bindingProcedure);
  if (!parent) parent = window_;
  HWND child = ::CreateWindowExA(0, info.className, nullptr, WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS | WS_VISIBLE,
                                 rectangle.left, rectangle.top, rectangle.width(), rectangle.height(), parent,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!child) return nullptr;
  ::SetPropA(child, "hUnit", reinterpret_cast<HANDLE>(1));
  const ExuiCreationRecord record{child, 2, 1, info.kind, properties.data(),
                                  static_cast<int32_t>(properties.size())};
  const auto& api = exui();
  const int x = rectangle.left, y = rectangle.top, w = rectangle.width(), h = rectangle.height();
  switch (component) {
    case Component::WindowEx:
      return api.createWindowEx(0, parent, x, y, w, h, &recordEvent, &record, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                0, 0, 0, 0, 0);
    case Component::MinutesboxEx:
      return api.createMinutesboxEx(0, parent, x, y, w, h, &recordEvent, &record, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    0, 0, 0, 0, 0);
    case Component::ButtonEx:
      return api.createButtonEx(0, parent, x, y, w, h, &recordEvent, &record, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    case Component::RadiobuttonEx:
      return api.createRadiobuttonEx(0, parent, x, y, w, h, &recordEvent, &record, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                     0, 0);
    case Component::SliderbarEx:
      return api.createSliderbarEx(0, parent, x, y, w, h, &recordEvent, &record, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                   0, 0, 0, 0, 0);
    case Component::EditboxEx:
      return api.createEditboxEx(0, parent, x, y, w, h, &recordEvent, &record, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    case Component::IcoListboxEx:
      return api.createIcoListboxEx(0, parent, x, y, w, h, &recordEvent, &record, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    0, 0, 0, 0, 0, 0, 0, 0, 0);
  }
  return nullptr;
}

HWND ComponentHost::windowOf(ExuiControl control) {
  return reinterpret_cast<HWND>(exui().callInternal(kExuiFunctionControlWindow, reinterpret_cast<intptr_t>(control),
                                                    0, 0, 0, 0, 0));
}

std::vector<RecordedEvent>& recordedEvents() { return events; }

void clearEvents() { events.clear(); }

std::vector<int> eventNumbers(ExuiControl control) {
  std::vector<int> numbers;
  for (const RecordedEvent& event : events)
    if (event.control == control) numbers.push_back(event.number);
  return numbers;
}

void setEventReaction(std::function<void(const RecordedEvent&)> next) { reaction = std::move(next); }

}  // namespace qova::test
