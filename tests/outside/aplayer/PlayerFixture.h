#pragma once
// A test that drives the real engine: engines and parent windows it makes
// are destroyed at its end, and handler 2's record starts empty.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "runtime/UniqueHandle.h"
#include "tests/outside/aplayer/APlayerApi.h"

namespace qova::test {

class PlayerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(aplayerLoaded()) << "cannot load " << kAPlayerLibrary << " with all 21 exports";
    clearRecordedEvents();
  }

  void TearDown() override {
    for (int32_t engine : engines_) aplayer().destroy(engine);
    engines_.clear();
    parents_.clear();
    clearRecordedEvents();
  }

  // An engine with handler 2 recording; 0 when creation failed.
  int32_t createEngine(HWND parent, int x, int y, int width, int height) {
    const int32_t engine = aplayer().create(parent, x, y, width, height, nullptr, &recordPlayerEvent,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (engine) engines_.push_back(engine);
    return engine;
  }

  // A shown top-level window of the test's own, to hold an engine's child window.
  HWND createParentWindow(int x, int y, int width, int height) {
    static const ATOM parentClass = [] {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = ::DefWindowProcA;
      windowClass.hInstance = ::GetModuleHandleA(nullptr);
      windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
      windowClass.lpszClassName = "QovaAPlayerTestParent";
      return ::RegisterClassA(&windowClass);
    }();
    // Shown without activation: destroying an activated top-level window
    // under Wine without a window manager stalls for two seconds.
    HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, MAKEINTATOM(parentClass), "parent",
                                    WS_POPUP | WS_CLIPCHILDREN, x, y, width, height, nullptr,
                                    nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (window) {
      ::ShowWindow(window, SW_SHOWNOACTIVATE);
      parents_.emplace_back(window);
    }
    return window;
  }

  bool open(int32_t engine, const std::string& mediaName) {
    return aplayer().open(engine, mediaFile(mediaName).c_str()) == kAPlayerOk;
  }

  // The engine's decoding processes that this test program started.
  static std::vector<DWORD> decodingProcesses() {
    std::vector<DWORD> found;
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
      if (entry.th32ParentProcessID == ::GetCurrentProcessId() && _wcsicmp(entry.szExeFile, L"APlayerDecoder.exe") == 0)
        found.push_back(entry.th32ProcessID);
    }
    return found;
  }

  const APlayerApi& api = aplayer();

 private:
  std::vector<int32_t> engines_;
  std::vector<UniqueHwnd> parents_;
};

}  // namespace qova::test
