#include "outside/aplayer/VideoPicture.h"

#include <utility>

#include "outside/aplayer/BilinearScaling.h"
#include "outside/aplayer/PictureFit.h"

namespace qova::aplayer {
namespace {

void fillBlack(HDC dc, int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  const RECT band{left, top, right, bottom};
  ::FillRect(dc, &band, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

}  // namespace

const SharedPixels& VideoPicture::prepare(const media::PictureFormat& format) {
  const size_t bytes = media::pictureBytes(format);
  if (back_.pixels.size() < bytes) back_.pixels = SharedPixels(bytes);
  back_.format = format;
  return back_.pixels;
}

PlanesView VideoPicture::view(const Frame& frame) {
  if (frame.pixels.empty()) return {};
  return {frame.pixels.data(), frame.pixels.size(), frame.format, frame.shownWidth};
}

PlanesView VideoPicture::back() const { return view(back_); }

void VideoPicture::publish(int shownWidth) {
  back_.shownWidth = shownWidth;
  std::lock_guard lock(mutex_);
  std::swap(front_, back_);
  ++frontNumber_;
}

void VideoPicture::clear() {
  std::lock_guard lock(mutex_);
  front_ = {};
  drawn_ = {};
}

void VideoPicture::releaseBackBuffer() {
  back_ = {};
  std::lock_guard lock(mutex_);
  // The scaled picture stays for repaints; the picture-sized copy is made again if the window changes size.
  drawn_.rgb = {};
  drawn_.frame = 0;
}

void VideoPicture::keepDrawn(std::vector<uint8_t> pixels, PictureRect source, int width, int height) {
  std::lock_guard lock(mutex_);
  if (front_.pixels.empty()) return;
  drawn_.scaled = std::move(pixels);
  drawn_.scaledFrame = frontNumber_;
  drawn_.source = source;
  drawn_.width = width;
  drawn_.height = height;
}

bool VideoPicture::hasFrame() const {
  std::lock_guard lock(mutex_);
  return !front_.pixels.empty();
}

std::pair<uint64_t, uint64_t> VideoPicture::serials() const {
  std::lock_guard lock(mutex_);
  return {front_.pixels.serial(), back_.pixels.serial()};
}

bool VideoPicture::makeShown(const PlanesView& front, PictureRect source, int width, int height) const {
  const media::PictureFormat& format = front.format;
  const media::FrameLayout planes = media::planeLayout(format);
  const size_t scaledStride = static_cast<size_t>(width) * 4;
  drawn_.scaled.resize(scaledStride * static_cast<size_t>(height));
  // A picture shown at its own size (a clip made for the screen) is converted straight into
  // what shows: neither the whole-picture copy nor the filtering pass is needed.
  const bool ownSize = source.width == width && source.height == height &&
                       media::convertFrameToBgrx(front.data, front.bytes, planes, {source.left, source.top, width, height},
                                                 drawn_.scaled.data(), scaledStride);
  if (ownSize) {
    drawn_.rgb = {};
    drawn_.frame = 0;
  } else {
    const size_t rgbStride = static_cast<size_t>(format.width) * 4;
    if (drawn_.frame != frontNumber_) {
      drawn_.rgb.resize(rgbStride * static_cast<size_t>(format.height));
      if (!media::convertFrameToBgrx(front.data, front.bytes, planes, media::wholeFrame(planes), drawn_.rgb.data(),
                                     rgbStride))
        return false;
      drawn_.frame = frontNumber_;
    }
    const BgrxView whole{drawn_.rgb.data(), format.width, format.height, rgbStride};
    if (!scaleBilinear(whole, source, drawn_.scaled.data(), width, height, scaledStride)) return false;
  }
  drawn_.scaledFrame = frontNumber_;
  drawn_.source = source;
  drawn_.width = width;
  drawn_.height = height;
  return true;
}

bool VideoPicture::draw(HDC dc, const RECT& client, PictureScaling scaling) const {
  std::lock_guard lock(mutex_);
  const PlanesView front = view(front_);
  if (!front.data || !dc) return false;
  const media::PictureFormat& format = front.format;
  const int clientWidth = client.right - client.left;
  const int clientHeight = client.bottom - client.top;
  const PicturePlacement place = placePicture(clientWidth, clientHeight, front.shownWidth, format.height, scaling);
  const PictureRect source = storedColumns(place.source, front.shownWidth, format.width);
  const int left = client.left + place.target.left;
  const int top = client.top + place.target.top;
  const int width = place.target.width;
  const int height = place.target.height;
  fillBlack(dc, client.left, client.top, client.right, top);
  fillBlack(dc, client.left, top + height, client.right, client.bottom);
  fillBlack(dc, client.left, top, left, top + height);
  fillBlack(dc, left + width, top, client.right, top + height);
  if (width <= 0 || height <= 0) return true;

  const bool sameScaling = drawn_.scaledFrame == frontNumber_ && drawn_.source == source &&
                           drawn_.width == width && drawn_.height == height;
  if (!sameScaling && !makeShown(front, source, width, height)) return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), drawn_.scaled.data(), &info, DIB_RGB_COLORS);
  return true;
}

}  // namespace qova::aplayer
