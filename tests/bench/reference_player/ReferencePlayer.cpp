// The bare player the benchmarks compare the program with: MFPlay plays
// files one after the other, each with a player of its own and MFPlay's own
// video renderer, into a plain screen-sized top-level window, and nothing
// else happens. Usage: reference_player.exe <log> <video> [<video>...]
// The log gets "<time> open" just before each player is created, "<time>
// playing" when MFPlay reports playback under way, "<time> ended" at each
// file's end (times as in the timing engine's log) and "<time> paused" once
// paused by a WM_HOTKEY with id 2 posted to its window. After the last file
// the window closes and the program ends.
//
// Under Wine MFPlay never reports the end of a file with video (its video
// renderer stalls when the clock stops), so there, as in our engine, a file
// ends a quarter of a second before its duration: paused, and left paused
// (shutting down a player whose renderer stalled crashes Wine's media
// session; our engine does that on a thread of its own with waits, which a
// bare player has no reason to copy). The players are never shut down.
#include <windows.h>
#include <mfapi.h>
#include <mfplay.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/UniqueHandle.h"

namespace {

constexpr UINT kNextFileMessage = WM_APP + 1;
constexpr UINT_PTR kEndTimer = 1;
constexpr LONGLONG kEarlyEnd = 2'500'000;  // 250 ms in 100 ns units
bool gEnding = false;

std::wstring gLogPath;
std::vector<std::wstring> gVideos;
std::size_t gNextVideo = 0;
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
    if (event->eEventType == MFP_EVENT_TYPE_PLAY && SUCCEEDED(event->hrEvent)) {
      logLine("playing");
      PROPVARIANT duration;
      ::PropVariantInit(&duration);
      if (SUCCEEDED(event->pMediaPlayer->GetDuration(MFP_POSITIONTYPE_100NS, &duration)) &&
          duration.vt == VT_UI8 && duration.uhVal.QuadPart > static_cast<ULONGLONG>(kEarlyEnd))
        ::SetTimer(gWindow, kEndTimer, static_cast<UINT>((duration.uhVal.QuadPart - kEarlyEnd) / 10'000), nullptr);
      ::PropVariantClear(&duration);
    }
    if (event->eEventType == MFP_EVENT_TYPE_PAUSE && SUCCEEDED(event->hrEvent)) {
      logLine("paused");
      if (gEnding) ::PostMessageW(gWindow, kNextFileMessage, 0, 0);
    }
    if (event->eEventType == MFP_EVENT_TYPE_PLAYBACK_ENDED) {
      logLine("ended");
      ::PostMessageW(gWindow, kNextFileMessage, 0, 0);
    }
  }

 private:
  LONG references_ = 1;
};

qova::ComPtr<IMFPMediaPlayer> gPlayer;
std::vector<qova::ComPtr<IMFPMediaPlayer>> gEndedPlayers;

// Leaves the current player paused and starts the next file; false when there is none (or it fails).
bool playNextFile() {
  if (gPlayer) gEndedPlayers.push_back(std::move(gPlayer));
  gPlayer = {};
  if (gNextVideo >= gVideos.size()) return false;
  auto callback = qova::ComPtr<Callback>::adopt(new Callback);
  logLine("open");
  return SUCCEEDED(::MFPCreateMediaPlayer(gVideos[gNextVideo++].c_str(), TRUE, MFP_OPTION_NONE, callback.get(),
                                          gWindow, gPlayer.put()));
}

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
    case WM_TIMER:
      ::KillTimer(window, kEndTimer);
      logLine("ended");
      gEnding = gPlayer && SUCCEEDED(gPlayer->Pause());
      if (!gEnding) ::PostMessageW(window, kNextFileMessage, 0, 0);
      return 0;
    case kNextFileMessage:
      gEnding = false;
      if (!playNextFile()) ::DestroyWindow(window);
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
  if (!arguments || count < 3) {
    std::fprintf(stderr, "usage: reference_player <log> <video> [<video>...]\n");
    return 2;
  }
  gLogPath = arguments[1];
  gVideos.assign(arguments + 2, arguments + count);
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
  int result = 1;
  if (playNextFile()) {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    result = 0;
  }
  // The players go with the process: see above.
  ::ExitProcess(static_cast<UINT>(result));
}
