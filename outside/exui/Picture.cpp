#include "outside/exui/Picture.h"

#include "runtime/DpiScale.h"

#include <cstring>

#include "outside/exui/NineGrid.h"
#include "outside/exui/WicDecoder.h"
#include "runtime/UniqueHandle.h"

namespace qova::exui {
namespace {

HBITMAP makeDib(int width, int height, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  *bits = static_cast<uint32_t*>(memory);
  return dib;
}

}  // namespace

Picture::Picture(PixelImage image) {
  std::call_once(decodeOnce_, [&] { adopt(std::move(image)); });
}

Picture::Picture(EncodedBytes bytes) : encoded_(std::move(bytes)) {}

void Picture::adopt(PixelImage image) const {
  width_ = image.width;
  height_ = image.height;
  image_ = std::move(image);
  if (image_.pixels.size() < static_cast<size_t>(std::max(width_, 0)) * static_cast<size_t>(std::max(height_, 0)))
    width_ = height_ = 0;
  if (width_ <= 0 || height_ <= 0) {
    width_ = height_ = 0;
    image_ = {};
  }
}

const Picture& Picture::decoded() const {
  std::call_once(decodeOnce_, [this] { adopt(encoded_ ? decodeWithWic(*encoded_) : PixelImage{}); });
  return *this;
}

Picture::~Picture() {
  if (bitmap_) ::DeleteObject(bitmap_);
}

PictureRef Picture::decode(ByteView bytes) { return std::make_shared<Picture>(decodeWithWic(bytes)); }

PictureRef Picture::decodeLater(EncodedBytes bytes) {
  if (!bytes) return empty();
  return std::shared_ptr<const Picture>(new Picture(std::move(bytes)));
}

PictureRef Picture::empty() {
  static const PictureRef nothing = std::make_shared<Picture>(PixelImage{});
  return nothing;
}

const uint32_t* Picture::pixels() const {
  if (isEmpty()) return nullptr;  // decodes a picture still waiting
  if (bits_) ::GdiFlush();
  return bits_ ? bits_ : image_.pixels.data();
}

HBITMAP Picture::bitmap() const {
  if (bitmap_ || isEmpty()) return bitmap_;
  uint32_t* bits = nullptr;
  HBITMAP dib = makeDib(width_, height_, &bits);
  if (!dib || !bits) return nullptr;
  std::memcpy(bits, image_.pixels.data(), image_.pixels.size() * sizeof(uint32_t));
  bitmap_ = dib;
  bits_ = bits;
  image_ = {};  // the DIB holds the pixels from now on
  return bitmap_;
}

PictureRef Picture::scaled(int width, int height) const {
  if (isEmpty() || width <= 0 || height <= 0) return empty();
  const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  PixelImage source{width_, height_, std::vector<uint32_t>(pixels(), pixels() + count)};
  return std::make_shared<Picture>(resample(source, width, height));
}

PictureRef Picture::fittedInto(const Box& box, bool keepAspect, Box* placed) const {
  const Box target = keepAspect ? fitInside(width(), height(), box) : (isEmpty() ? Box{} : box);
  if (placed) *placed = target;
  if (target.empty()) return empty();
  if (target.width() == width_ && target.height() == height_) return scaled(width_, height_);
  return scaled(target.width(), target.height());
}

bool Picture::drawPart(HDC dc, const Box& source, const Box& target) const {
  if (isEmpty() || source.empty() || target.empty()) return false;
  HBITMAP dib = bitmap();
  if (!dib) return false;
  UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  if (!memory) return false;
  HGDIOBJ previous = ::SelectObject(memory.get(), dib);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BOOL drawn = ::GdiAlphaBlend(dc, target.left, target.top, target.width(), target.height(), memory.get(),
                                     source.left, source.top, source.width(), source.height(), blend);
  ::SelectObject(memory.get(), previous);
  return drawn != FALSE;
}

bool Picture::draw(HDC dc, const Box& target) const { return drawPart(dc, {0, 0, width(), height()}, target); }

bool Picture::drawNineGrid(HDC dc, const Margins& margins, const Box& target) const {
  bool drawn = false;
  for (const NinePiece& piece : nineGrid(width(), height(), margins, target))
    drawn = drawPart(dc, piece.source, piece.target) || drawn;
  return drawn;
}

std::vector<PictureRef> decodePictures(ByteView imageSet) {
  std::vector<PictureRef> pictures;
  for (const Bytes& bytes : decodeImageSet(imageSet)) pictures.push_back(Picture::decode(bytes));
  return pictures;
}

PictureRef pictureAtDpi(const PictureRef& picture, int dpi) {
  if (!picture || dpi <= 0 || dpi == kDesignDpi || picture->isEmpty()) return picture;
  return picture->scaled(scaledForDpi(picture->width(), dpi), scaledForDpi(picture->height(), dpi));
}

std::vector<PictureRef> decodePicturesAtDpi(ByteView imageSet, int dpi, ByteView doubleSizeSet) {
  std::vector<PictureRef> pictures = decodePictures(imageSet);
  const std::vector<PictureRef> doubleSize =
      dpi > kDesignDpi && !doubleSizeSet.empty() ? decodePictures(doubleSizeSet) : std::vector<PictureRef>{};
  const bool fromDoubleSize = !doubleSize.empty() && doubleSize.size() == pictures.size();
  for (size_t i = 0; i < pictures.size(); ++i) {
    const PictureRef& source = fromDoubleSize && !doubleSize[i]->isEmpty() ? doubleSize[i] : pictures[i];
    if (source == pictures[i] || pictures[i]->isEmpty()) {
      pictures[i] = pictureAtDpi(pictures[i], dpi);
      continue;
    }
    const int width = scaledForDpi(pictures[i]->width(), dpi);
    const int height = scaledForDpi(pictures[i]->height(), dpi);
    pictures[i] = source->width() == width && source->height() == height ? source : source->scaled(width, height);
  }
  return pictures;
}

}  // namespace qova::exui
