#pragma once
// Pictures: premultiplied pixels that become a DIB section the first time
// they are drawn. A picture made from file bytes keeps them and decodes them
// the first time its size or pixels are needed. Empty pictures (bad or no
// bytes) draw as nothing.
#include <windows.h>

#include <memory>
#include <mutex>

#include "outside/exui/ExuiFormat.h"
#include "outside/exui/Geometry.h"
#include "outside/exui/PixelImage.h"

namespace qova::exui {

class Picture;
using PictureRef = std::shared_ptr<const Picture>;
// A picture file's bytes, shared by everything made from them.
using EncodedBytes = std::shared_ptr<const Bytes>;

class Picture {
 public:
  explicit Picture(PixelImage image);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // The picture in PNG, JPEG, BMP or GIF bytes; an empty picture when they
  // do not decode. Never null.
  static PictureRef decode(ByteView bytes);
  // The same, decoded only when first measured or drawn. Never null.
  static PictureRef decodeLater(EncodedBytes bytes);
  static PictureRef empty();

  int width() const { return decoded().width_; }
  int height() const { return decoded().height_; }
  bool isEmpty() const { return width() <= 0 || height() <= 0; }
  // The file bytes the picture comes from; null for one made from pixels.
  const EncodedBytes& encoded() const { return encoded_; }

  // A copy resampled to width x height; empty for an empty picture or size.
  PictureRef scaled(int width, int height) const;
  // The picture scaled into `box` keeping its aspect ratio (or filling it
  // when `keepAspect` is false), and where it lands; empty pictures stay empty.
  PictureRef fittedInto(const Box& box, bool keepAspect, Box* placed) const;

  // The premultiplied pixels, rows top to bottom; null for an empty picture.
  const uint32_t* pixels() const;

  // Draws the picture (or part of it) stretched onto the target with its own
  // alpha; false when nothing was drawn.
  bool draw(HDC dc, const Box& target) const;
  bool drawPart(HDC dc, const Box& source, const Box& target) const;
  // Nine-grid drawing: corners kept, edges and middle stretched.
  bool drawNineGrid(HDC dc, const Margins& margins, const Box& target) const;

 private:
  explicit Picture(EncodedBytes bytes);
  void adopt(PixelImage image) const;
  const Picture& decoded() const;
  HBITMAP bitmap() const;

  EncodedBytes encoded_;
  mutable std::once_flag decodeOnce_;
  mutable int width_ = 0;
  mutable int height_ = 0;
  mutable PixelImage image_;         // until the DIB section exists
  mutable HBITMAP bitmap_ = nullptr; // made on first draw; holds the pixels after that
  mutable uint32_t* bits_ = nullptr;
};

// Pictures of an image set, decoded; never null entries.
std::vector<PictureRef> decodePictures(ByteView imageSet);

// A picture drawn at 96 DPI, resampled to its size at `dpi` (itself at 96).
PictureRef pictureAtDpi(const PictureRef& picture, int dpi);
// An image set's pictures, decoded and resampled to their sizes at `dpi`;
// above 96 DPI from the same pictures drawn for 192 DPI (`doubleSizeSet`), where
// there are as many of those.
std::vector<PictureRef> decodePicturesAtDpi(ByteView imageSet, int dpi, ByteView doubleSizeSet = {});

}  // namespace qova::exui
