#include "desktop/DesktopLayerWatch.h"

#include "desktop/ShellWindowNames.h"
#include "desktop/WindowInfo.h"

namespace qova {
namespace {

// The window events carry no context: they reach the one watch through this.
DesktopLayerWatch* gWatch = nullptr;

}  // namespace

DesktopLayerWatch::DesktopLayerWatch(HWND window, UINT message) : window_(window), message_(message) {
  gWatch = this;
  // Every window created by another process wakes this thread for a moment;
  // only a new "Progman" tells anything.
  createHook_ = ::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, &onWindowCreated, 0, 0,
                                  WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

DesktopLayerWatch::~DesktopLayerWatch() {
  if (createHook_) ::UnhookWinEvent(createHook_);
  stopWaiting();
  if (gWatch == this) gWatch = nullptr;
}

void DesktopLayerWatch::watchLayer(HWND layer) {
  stopWaiting();
  DWORD processId = 0;
  if (!layer || !::GetWindowThreadProcessId(layer, &processId)) return;
  layerProcess_.reset(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!layerProcess_) return;
  if (!::RegisterWaitForSingleObject(&wait_, layerProcess_.get(), &onLayerProcessEnded, this, INFINITE,
                                     WT_EXECUTEONLYONCE))
    wait_ = nullptr;
}

void DesktopLayerWatch::stopWaiting() {
  // Waits for a callback under way, so that none runs after the watch is gone.
  if (wait_) ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
  wait_ = nullptr;
  layerProcess_.reset();
}

void DesktopLayerWatch::tell() const { ::PostMessageA(window_, message_, 0, 0); }

void CALLBACK DesktopLayerWatch::onLayerProcessEnded(PVOID context, BOOLEAN) {
  static_cast<const DesktopLayerWatch*>(context)->tell();
}

void CALLBACK DesktopLayerWatch::onWindowCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD,
                                                 DWORD) {
  if (object != OBJID_WINDOW || !gWatch || !window) return;
  if (::GetParent(window) == nullptr && windowClassName(window) == kShellDesktopClass) gWatch->tell();
}

}  // namespace qova
