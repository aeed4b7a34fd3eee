#pragma once
// The window an engine plays into: the frame on show, or black with an
// optional logo centred while there is none, and the place where everything
// that happens on the playback thread comes back to the engine's own thread
// as posted messages.
#include <windows.h>

#include <cstdint>

#include "outside/aplayer/APlayerContract.h"
#include "outside/aplayer/PlaybackMessages.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

// What the engine hears from its window, always on the window's thread.
class VideoWindowListener {
 public:
  virtual void onPlaybackNews(uint32_t session, PlaybackNews news) = 0;
  // Draws the frame on show over `client`; false when there is none.
  virtual bool paintVideo(HDC dc, const RECT& client) = 0;
  // The window was destroyed from outside (e.g. with its parent).
  virtual void onWindowGone() = 0;

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

  // Not owned; null for none. The logo and the black show while no frame does.
  void setLogo(HBITMAP logo);

 private:
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HWND window);

  VideoWindowListener& listener_;
  UniqueHwnd window_;
  HBITMAP logo_ = nullptr;
};

// Removes the window class when the DLL is unloaded, so that a later load can register it again.
void unregisterVideoWindowClass();

}  // namespace qova::aplayer
