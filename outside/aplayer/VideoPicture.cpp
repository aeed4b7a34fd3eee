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

uint8_t* VideoPicture::prepare(int width, int height) {
  back_.width = width;
  back_.height = height;
  back_.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  return back_.pixels.data();
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

bool VideoPicture::hasFrame() const {
  std::lock_guard lock(mutex_);
  return !front_.pixels.empty();
}

bool VideoPicture::draw(HDC dc, const RECT& client, bool keepAspect) const {
  std::lock_guard lock(mutex_);
  if (front_.pixels.empty() || !dc) return false;
  const int clientWidth = client.right - client.left;
  const int clientHeight = client.bottom - client.top;
  const PictureRect place = fitPicture(clientWidth, clientHeight, front_.shownWidth, front_.height, keepAspect);
  const int left = client.left + place.left;
  const int top = client.top + place.top;
  fillBlack(dc, client.left, client.top, client.right, top);
  fillBlack(dc, client.left, top + place.height, client.right, client.bottom);
  fillBlack(dc, client.left, top, left, top + place.height);
  fillBlack(dc, left + place.width, top, client.right, top + place.height);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = front_.width;
  info.bmiHeader.biHeight = -front_.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Nearest-neighbour stretching: the smoothing modes cost far more than decoding under Wine.
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchDIBits(dc, left, top, place.width, place.height, 0, 0, front_.width, front_.height,
                  front_.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  return true;
}

}  // namespace qova::aplayer
