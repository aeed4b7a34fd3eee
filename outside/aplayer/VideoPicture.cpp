#include "outside/aplayer/VideoPicture.h"

#include <utility>

#include "outside/aplayer/PictureFit.h"

namespace qova::aplayer {
namespace {

void fillBlack(HDC dc, int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  const RECT band{left, top, right, bottom};
  ::FillRect(dc, &band, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

}  // namespace

const SharedPixels& VideoPicture::prepare(int width, int height) {
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  if (back_.pixels.size() < bytes) back_.pixels = SharedPixels(bytes);
  back_.width = width;
  back_.height = height;
  return back_.pixels;
}

void VideoPicture::publish(int shownWidth) {
  back_.shownWidth = shownWidth;
  std::lock_guard lock(mutex_);
  std::swap(front_, back_);
}

void VideoPicture::clear() {
  std::lock_guard lock(mutex_);
  front_ = {};
}

void VideoPicture::releaseBackBuffer() { back_ = {}; }

bool VideoPicture::hasFrame() const {
  std::lock_guard lock(mutex_);
  return !front_.pixels.empty();
}

std::pair<uint64_t, uint64_t> VideoPicture::serials() const {
  std::lock_guard lock(mutex_);
  return {front_.pixels.serial(), back_.pixels.serial()};
}

bool VideoPicture::draw(HDC dc, const RECT& client, PictureScaling scaling) const {
  std::lock_guard lock(mutex_);
  if (front_.pixels.empty() || !dc) return false;
  const int clientWidth = client.right - client.left;
  const int clientHeight = client.bottom - client.top;
  const PicturePlacement place = placePicture(clientWidth, clientHeight, front_.shownWidth, front_.height, scaling);
  const PictureRect source = storedColumns(place.source, front_.shownWidth, front_.width);
  const int left = client.left + place.target.left;
  const int top = client.top + place.target.top;
  const int width = place.target.width;
  const int height = place.target.height;
  fillBlack(dc, client.left, client.top, client.right, top);
  fillBlack(dc, client.left, top + height, client.right, client.bottom);
  fillBlack(dc, client.left, top, left, top + height);
  fillBlack(dc, left + width, top, client.right, top + height);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = front_.width;
  // Only the rows that show, top row first: the source's rows then need no
  // reckoning from either end of the bitmap.
  info.bmiHeader.biHeight = -source.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Nearest-neighbour stretching: the smoothing modes cost far more than decoding under Wine.
  ::SetStretchBltMode(dc, COLORONCOLOR);
  const uint8_t* firstRow = front_.pixels.data() + static_cast<size_t>(source.top) * front_.width * 4;
  ::StretchDIBits(dc, left, top, width, height, source.left, 0, source.width, source.height, firstRow, &info,
                  DIB_RGB_COLORS, SRCCOPY);
  return true;
}

}  // namespace qova::aplayer
