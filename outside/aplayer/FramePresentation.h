#pragma once
// The ladder of ways a playback thread shows its frames: the graphics card
// (GpuPresenter) unless the setting says GDI, and GDI when the card cannot
// start or fails on the way (a lost device gets one new device first).
// Playback goes on through every change. The playback thread alone calls it.
#include <windows.h>

#include <atomic>
#include <future>
#include <memory>

#include "outside/aplayer/GpuPresenter.h"
#include "outside/aplayer/PictureFit.h"
#include "outside/aplayer/PresentationPath.h"
#include "outside/aplayer/VideoPicture.h"

namespace qova::aplayer {

class FramePresentation {
 public:
  // Frames go into `window`; the path in use is kept in `path` for the engine's thread to read.
  FramePresentation(HWND window, VideoPicture& picture, std::atomic<PresentationPath>& path)
      : window_(window), picture_(picture), path_(path) {}

  // Before a file opens or plays on after a long pause: takes up `choice`
  // if it changed, and tries the card again if it had failed under another
  // choice. A card is made on the side; frames show through GDI until it is ready.
  void choose(PresentationChoice choice, PictureScaling scaling);
  // The LUID of the adapter the card presents on, for a hardware decoder
  // made there too; zero while no card is in use.
  LUID presentingAdapter() const { return card_ ? card_->adapter() : LUID{}; }
  // Makes the back buffer's frame the one on show and shows it; `decodedByCard`
  // when a hardware decoder made it.
  void showNext(int shownWidth, bool decodedByCard, PictureScaling scaling);
  // Shows the frame on show again (the window changed, or was uncovered).
  void repaint(PictureScaling scaling);
  // Nothing on show any more, or a long pause: the card and all its memory
  // go, and the window paints the frame on show (or its black and logo) through GDI.
  void letWindowGo();
  // A long pause: as letWindowGo, the card's picture kept for GDI to paint.
  void sleep(PictureScaling scaling);

 private:
  bool startCard();
  // The card made beside the file's opening, once it is ready: shows the frame on show through it.
  void takeStartedCard(PictureScaling scaling);
  void forgetStartingCard();
  // The card failed: one new device, else GDI from now on.
  void recover(PictureScaling scaling);
  void drawWithGdi(PictureScaling scaling);
  void setPath(PresentationPath path) { path_ = path; }
  // The card's path, by who decoded the frames it shows.
  PresentationPath cardPath() const {
    return decodedByCard_ ? PresentationPath::GpuHardware : PresentationPath::GpuSoftware;
  }

  const HWND window_;
  VideoPicture& picture_;
  std::atomic<PresentationPath>& path_;
  PresentationChoice choice_ = PresentationChoice::Auto;
  bool cardFailed_ = false;  // under the present choice
  bool decodedByCard_ = false;  // the frame on show
  std::unique_ptr<GpuPresenter> card_;
  std::future<std::unique_ptr<GpuPresenter>> startingCard_;
};

}  // namespace qova::aplayer
