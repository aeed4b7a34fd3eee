#pragma once
// Tells the program, without using the processor meanwhile, when the shell's
// desktop layer may have changed: the process that holds the layer ended (a
// crashed or restarted shell), or a new "Progman" was created (the shell is
// back). Each posts `message` (wParam, lParam 0) to `window`; the receiver
// looks at the desktop again. One watch at a time, on a thread with a
// message loop.
#include <windows.h>

#include "runtime/UniqueHandle.h"

namespace qova {

class DesktopLayerWatch {
 public:
  DesktopLayerWatch(HWND window, UINT message);
  ~DesktopLayerWatch();
  DesktopLayerWatch(const DesktopLayerWatch&) = delete;
  DesktopLayerWatch& operator=(const DesktopLayerWatch&) = delete;

  // Watches the end of the process that owns `layer`, instead of the one
  // watched before; null watches no process.
  void watchLayer(HWND layer);

 private:
  static void CALLBACK onLayerProcessEnded(PVOID context, BOOLEAN timedOut);
  static void CALLBACK onWindowCreated(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                       DWORD thread, DWORD time);
  void stopWaiting();
  void tell() const;

  HWND window_;
  UINT message_;
  UniqueHandle layerProcess_;
  HANDLE wait_ = nullptr;
  HWINEVENTHOOK createHook_ = nullptr;
};

}  // namespace qova
