#include "outside/aplayer/FramePresentation.h"

namespace qova::aplayer {

void FramePresentation::choose(PresentationChoice choice, PictureScaling scaling) {
  if (choice != choice_) cardFailed_ = false;
  choice_ = choice;
  if (choice_ == PresentationChoice::Gdi) {
    forgetStartingCard();
    card_.reset();
    setPath(PresentationPath::Gdi);
    return;
  }
  if (card_ || cardFailed_ || startingCard_.valid()) return takeStartedCard(scaling);
  // Made beside the file's opening, on a thread of its own: a device takes a
  // while (a second under Wine, whose renderer compiles its shaders then),
  // and the file's first frames show through GDI meanwhile.
  // Its first present, slow too under Wine, shows the frame then on show.
  const HWND window = window_;
  VideoPicture& picture = picture_;
  startingCard_ = std::async(std::launch::async, [window, &picture, scaling]() -> std::unique_ptr<GpuPresenter> {
    std::unique_ptr<GpuPresenter> card = GpuPresenter::create(window);
    bool shown = static_cast<bool>(card);
    if (shown) picture.withFront([&](const PlanesView& front) { shown = card->upload(front); });
    return shown && card->present(scaling) ? std::move(card) : nullptr;
  });
}

void FramePresentation::takeStartedCard(PictureScaling scaling) {
  if (!startingCard_.valid() || startingCard_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  card_ = startingCard_.get();
  if (!card_) {
    cardFailed_ = true;
    return;
  }
  setPath(cardPath());
  // The frame on show now (newer, perhaps, than the one the card showed first) goes through it.
  bool shown = true;
  picture_.withFront([&](const PlanesView& front) { shown = card_->upload(front); });
  if (!shown || !card_->present(scaling)) recover(scaling);
}

void FramePresentation::forgetStartingCard() {
  // Waits for a device still being made: nothing may be left making a swap chain on the window.
  if (startingCard_.valid()) startingCard_.get();
}

bool FramePresentation::startCard() {
  card_ = GpuPresenter::create(window_);
  setPath(card_ ? cardPath() : PresentationPath::Gdi);
  return static_cast<bool>(card_);
}

void FramePresentation::showNext(int shownWidth, bool decodedByCard, PictureScaling scaling) {
  decodedByCard_ = decodedByCard;
  takeStartedCard(scaling);
  if (card_) setPath(cardPath());
  PlanesView next = picture_.back();
  next.shownWidth = shownWidth;
  const bool uploaded = !card_ || card_->upload(next);
  picture_.publish(shownWidth);
  if (card_ && uploaded && card_->present(scaling)) return;
  if (card_) return recover(scaling);
  drawWithGdi(scaling);
}

void FramePresentation::repaint(PictureScaling scaling) {
  takeStartedCard(scaling);
  if (card_ && !card_->present(scaling)) recover(scaling);
}

void FramePresentation::letWindowGo() {
  forgetStartingCard();
  if (!card_) return;
  card_.reset();
  // Shown again through the card from the next file on.
  cardFailed_ = false;
  setPath(PresentationPath::Gdi);
  ::InvalidateRect(window_, nullptr, FALSE);
}

void FramePresentation::sleep(PictureScaling scaling) {
  forgetStartingCard();
  if (!card_) return;
  std::vector<uint8_t> pixels;
  PicturePlacement place;
  if (card_->capture(scaling, pixels, place)) {
    int shownWidth = 0, storedWidth = 0;
    picture_.withFront([&](const PlanesView& front) {
      shownWidth = front.shownWidth;
      storedWidth = front.format.width;
    });
    picture_.keepDrawn(std::move(pixels), storedColumns(place.source, shownWidth, storedWidth), place.target.width,
                       place.target.height);
  }
  letWindowGo();
}

void FramePresentation::recover(PictureScaling scaling) {
  card_.reset();
  if (startCard()) {
    bool shown = false;
    picture_.withFront([&](const PlanesView& front) { shown = card_->upload(front); });
    if (shown && card_->present(scaling)) return;
    card_.reset();
  }
  cardFailed_ = true;
  setPath(PresentationPath::Gdi);
  drawWithGdi(scaling);
  // The window's own paint draws through GDI from now on.
  ::InvalidateRect(window_, nullptr, FALSE);
}

void FramePresentation::drawWithGdi(PictureScaling scaling) {
  HDC dc = ::GetDC(window_);
  if (!dc) return;
  RECT client{};
  ::GetClientRect(window_, &client);
  picture_.draw(dc, client, scaling);
  ::ReleaseDC(window_, dc);
}

}  // namespace qova::aplayer
