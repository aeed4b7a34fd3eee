#pragma once
// The window an engine plays into: black, with an optional logo centred while
// no video shows, and the place where everything that happens on other
// threads comes back to the engine's own thread as posted messages.
#include <windows.h>

#include <cstdint>

#include "outside/aplayer/APlayerContract.h"
#include "outside/aplayer/MediaEventMessage.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

// What the engine hears from its window, always on the window's thread.
class VideoWindowListener {
 public:
  virtual void onMediaEvent(uint32_t sessionId, MediaEvent event) = 0;
  virtual void onResized() = 0;
  // A paint while video shows: the player redraws its current frame.
  virtual void onRepaintVideo() = 0;
  // The window was destroyed from outside (e.g. with its parent).
  virtual void onWindowGone() = 0;
  // A timer started with VideoWindow::startTimer went off.
  virtual void onTimer(UINT_PTR id) = 0;

 protected:
  ~VideoWindowListener() = default;
};

class VideoWindow {
 public:
  // A child of `parent` at the rectangle, or a shown, non-activated top-level
  // popup when `parent` is null. valid() is false when it could not be made.
  VideoWindow(HWND parent, RECT rectangle, VideoWindowListener& listener);
  ~VideoWindow();
  VideoWindow(const VideoWindow&) = delete;
  VideoWindow& operator=(const VideoWindow&) = delete;

  bool valid() const { return static_cast<bool>(window_); }
  HWND handle() const { return window_.get(); }
  operator HWND() const { return window_.get(); }

  // The handler that receives postHandlerEvent's events; null for none.
  void setHandler(APlayerHandler handler);
  // Queues (code, parameter) for the handler, delivered from the message loop.
  void postHandlerEvent(int32_t code, int32_t parameter) const;

  // Not owned; null for none. The logo and the black show while no video does.
  void setLogo(HBITMAP logo);
  void setVideoShowing(bool showing);

  // Timers for the listener; ids from 100 up are the listener's.
  void startTimer(UINT_PTR id, UINT milliseconds);
  void stopTimer(UINT_PTR id);

 private:
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HWND window);
  void repaintAfterVideo(HWND window);

  VideoWindowListener& listener_;
  UniqueHwnd window_;
  HBITMAP logo_ = nullptr;
  bool videoShowing_ = false;
  int repaintsAfterVideo_ = 0;
};

// Removes the window class when the DLL is unloaded, so that a later load can register it again.
void unregisterVideoWindowClass();

}  // namespace qova::aplayer
