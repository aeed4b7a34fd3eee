#pragma once
// The frame on show: the playback thread writes each new frame's planes
// into a back buffer and swaps it in; the window paints the front one
// whenever it needs to (a resize, an uncovered part), so the last frame
// stays up while nothing plays, between files and while paused.
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "outside/aplayer/PictureFit.h"
#include "outside/decoder/SharedPixels.h"
#include "outside/media/FrameConversion.h"

namespace qova::aplayer {

// A frame's planes as they lie in a buffer, and its shape on screen.
struct PlanesView {
  const uint8_t* data = nullptr;  // null for none
  size_t bytes = 0;
  media::PictureFormat format;
  int shownWidth = 0;
};

class VideoPicture {
 public:
  // The back buffer for a picture of `format` (its planes, rows packed);
  // empty when there is no memory for it. Only the playback thread calls
  // this, back() and publish(). The memory can be shared with a decoding
  // process, which then writes the frame itself.
  const SharedPixels& prepare(const media::PictureFormat& format);
  // The back buffer as last prepared, with the frame written into it.
  PlanesView back() const;
  // Shows the back buffer from now on; its shape on screen is `shownWidth` x the frame's height.
  void publish(int shownWidth);
  // Nothing on show.
  void clear();
  // Lets the back buffer's memory go while no frame comes (a long pause),
  // and what GDI drawing keeps beside the frame; the frame on show stays.
  void releaseBackBuffer();
  bool hasFrame() const;
  // The serial numbers of the memory of the frame on show and of the back buffer (0 for none).
  std::pair<uint64_t, uint64_t> serials() const;
  // Calls `use` with the frame on show (a null view for none), which stays put meanwhile.
  template <typename Use>
  void withFront(Use use) const {
    std::lock_guard lock(mutex_);
    use(view(front_));
  }

  // Draws the frame over `client` of `dc` through GDI, converted to RGB and
  // scaled with filtering (black bands where it does not cover the
  // client); false (nothing drawn) when no frame is on show.
  bool draw(HDC dc, const RECT& client, PictureScaling scaling) const;
  // `pixels` (BGRX rows, `width` x `height`) as what draw() shows of the
  // frame on show while the part `source` of it fills that size: the
  // graphics card's own rendering, kept when the card goes in a long pause,
  // so that the picture does not change when GDI paints it from then on.
  void keepDrawn(std::vector<uint8_t> pixels, PictureRect source, int width, int height);

 private:
  struct Frame {
    SharedPixels pixels;  // as large as the largest frame it held
    media::PictureFormat format;
    int shownWidth = 0;
  };
  // What the last draw made of the front frame, kept for the next paint of the same frame.
  struct Drawn {
    uint64_t frame = 0;  // the number of the front frame converted; 0 for none
    std::vector<uint8_t> rgb;     // the whole picture as BGRX, while it shows scaled
    PictureRect source;           // the part of it scaled into `scaled`
    int width = 0;                // of `scaled`
    int height = 0;
    uint64_t scaledFrame = 0;
    std::vector<uint8_t> scaled;  // BGRX at the size it shows
  };
  static PlanesView view(const Frame& frame);
  // Makes drawn_ hold the part `source` of `front` at `width` x `height`; false when the frame cannot be read.
  bool makeShown(const PlanesView& front, PictureRect source, int width, int height) const;

  mutable std::mutex mutex_;
  Frame front_;          // guarded by mutex_
  uint64_t frontNumber_ = 0;  // guarded by mutex_; counts the frames published
  mutable Drawn drawn_;  // guarded by mutex_
  Frame back_;           // the playback thread's alone
};

}  // namespace qova::aplayer
