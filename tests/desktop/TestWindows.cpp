#include "tests/desktop/TestWindows.h"

#include <utility>

namespace qova::test {

TestWindowClass::TestWindowClass(std::string name) : name_(std::move(name)) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ::DefWindowProcA;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name_.c_str();
  ::RegisterClassExA(&windowClass);
}

TestWindowClass::~TestWindowClass() { ::UnregisterClassA(name_.c_str(), ::GetModuleHandleA(nullptr)); }

UniqueHwnd createTestWindow(const TestWindowClass& windowClass, DWORD style, HWND parent,
                            const RECT& rect, const char* title) {
  const DWORD exStyle = (style & WS_CHILD) ? 0 : WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  return UniqueHwnd(::CreateWindowExA(exStyle, windowClass.name(), title, style, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, parent,
                                      nullptr, ::GetModuleHandleA(nullptr), nullptr));
}

RECT screenRect() {
  return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace qova::test
