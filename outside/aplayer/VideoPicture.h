#pragma once
// The frame on show: the playback thread writes each new frame into a back
// buffer and swaps it in; the window paints the front one whenever it needs
// to (a resize, an uncovered part), so the last frame stays up while
// nothing plays, between files and while paused.
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <utility>

#include "outside/aplayer/PictureFit.h"
#include "outside/aplayer/SharedPixels.h"

namespace qova::aplayer {

class VideoPicture {
 public:
  // The back buffer for a frame of `width` x `height` pixels as BGRX rows,
  // width * 4 bytes apart, top row first; empty when there is no memory for
  // it. Only the playback thread calls this and publish(). The memory can be
  // shared with a decoding process, which then writes the frame itself.
  const SharedPixels& prepare(int width, int height);
  // Shows the back buffer from now on; its shape on screen is `shownWidth` x the frame's height.
  void publish(int shownWidth);
  // Nothing on show.
  void clear();
  // Lets the back buffer's memory go while no frame comes (a long pause); the frame on show stays.
  void releaseBackBuffer();
  bool hasFrame() const;
  // The serial numbers of the memory of the frame on show and of the back buffer (0 for none).
  std::pair<uint64_t, uint64_t> serials() const;

  // Draws the frame over `client` of `dc`, scaled so (black bands where it
  // does not cover the client); false (nothing drawn) when no frame is on show.
  bool draw(HDC dc, const RECT& client, PictureScaling scaling) const;

 private:
  struct Frame {
    SharedPixels pixels;  // as large as the largest frame it held
    int width = 0;
    int height = 0;
    int shownWidth = 0;
  };

  mutable std::mutex mutex_;
  Frame front_;  // guarded by mutex_
  Frame back_;   // the playback thread's alone
};

}  // namespace qova::aplayer
