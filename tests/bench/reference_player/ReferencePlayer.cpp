// The bare player the benchmarks compare the program with: MFPlay plays one
// file with its own video renderer into a plain screen-sized top-level window,
// and nothing else happens. Usage: reference_player.exe <video> [<log>]
// The log gets "<time> open" just before the player is created, "<time>
// playing" when MFPlay reports playback under way and "<time> ended" at the
// end (times as in the timing engine's log), "<time> paused" once paused by
// a WM_HOTKEY with id 2 posted to its window; the window closes itself at the end.
#include <windows.h>
#include <mfapi.h>
#include <mfplay.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "runtime/UniqueHandle.h"

namespace {

std::wstring gLogPath;
HWND gWindow = nullptr;

void logLine(const char* what) {
  if (gLogPath.empty()) return;
  FILETIME now{};
  ::GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  if (FILE* file = ::_wfopen(gLogPath.c_str(), L"ab")) {
    std::fprintf(file, "%llu %s\n", ticks, what);
    std::fclose(file);
  }
}

class Callback final : public IMFPMediaPlayerCallback {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IMFPMediaPlayerCallback)) {
      *object = static_cast<IMFPMediaPlayerCallback*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }
  void STDMETHODCALLTYPE OnMediaPlayerEvent(MFP_EVENT_HEADER* event) override {
    if (event->eEventType == MFP_EVENT_TYPE_PLAY && SUCCEEDED(event->hrEvent)) logLine("playing");
    if (event->eEventType == MFP_EVENT_TYPE_PAUSE && SUCCEEDED(event->hrEvent)) logLine("paused");
    if (event->eEventType == MFP_EVENT_TYPE_PLAYBACK_ENDED) {
      logLine("ended");
      ::PostMessageW(gWindow, WM_CLOSE, 0, 0);
    }
  }

 private:
  LONG references_ = 1;
};

qova::ComPtr<IMFPMediaPlayer> gPlayer;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      ::BeginPaint(window, &paint);
      if (gPlayer) gPlayer->UpdateVideo();
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_HOTKEY:  // as the program takes Ctrl+Alt+F10 (id 2): pause
      if (gPlayer && wParam == 2) gPlayer->Pause();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!arguments || count < 2) {
    std::fprintf(stderr, "usage: reference_player <video> [<log>]\n");
    return 2;
  }
  const std::wstring video = arguments[1];
  if (count > 2) gLogPath = arguments[2];
  ::LocalFree(arguments);

  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ::MFStartup(MF_VERSION, MFSTARTUP_FULL);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = L"QovaReferencePlayer";
  ::RegisterClassW(&windowClass);
  gWindow = ::CreateWindowExW(0, windowClass.lpszClassName, L"reference player", WS_POPUP | WS_VISIBLE, 0, 0,
                              ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr,
                              nullptr, windowClass.hInstance, nullptr);
  auto callback = qova::ComPtr<Callback>::adopt(new Callback);
  logLine("open");
  const HRESULT created =
      ::MFPCreateMediaPlayer(video.c_str(), TRUE, MFP_OPTION_NONE, callback.get(), gWindow, gPlayer.put());
  int result = 1;
  if (SUCCEEDED(created)) {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    result = 0;
  }
  if (gPlayer) gPlayer->Shutdown();
  gPlayer = {};
  ::MFShutdown();
  ::CoUninitialize();
  return result;
}
