#pragma once
// The frame on show: the playback thread writes each new frame into a back
// buffer and swaps it in; the window paints the front one whenever it needs
// to (a resize, an uncovered part), so the last frame stays up while
// nothing plays, between files and while paused.
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "outside/aplayer/PictureFit.h"

namespace qova::aplayer {

class VideoPicture {
 public:
  // The back buffer for a frame of `width` x `height` pixels as BGRX rows,
  // width * 4 bytes apart, top row first. Only the playback thread calls this and publish().
  uint8_t* prepare(int width, int height);
  // Shows the back buffer from now on; its shape on screen is `shownWidth` x the frame's height.
  void publish(int shownWidth);
  // Nothing on show.
  void clear();
  // Lets the back buffer's memory go while no frame comes (a long pause); the frame on show stays.
  void releaseBackBuffer();
  bool hasFrame() const;

  // Draws the frame over `client` of `dc`, scaled so (black bands where it
  // does not cover the client); false (nothing drawn) when no frame is on show.
  bool draw(HDC dc, const RECT& client, PictureScaling scaling) const;

 private:
  struct Frame {
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
    int shownWidth = 0;
  };

  mutable std::mutex mutex_;
  Frame front_;  // guarded by mutex_
  Frame back_;   // the playback thread's alone
};

}  // namespace qova::aplayer
