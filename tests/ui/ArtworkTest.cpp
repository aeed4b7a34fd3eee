// The artwork the program carries is what resources/artwork draws: the
// pictures embedded for the layouts and the files shipped beside qova.exe,
// decoded by the system's codecs, against the drawing made here and now.
#include <gtest/gtest.h>
#include <wincodec.h>

#include <cstdlib>

#include "resources/LayoutImages.h"
#include "resources/artwork/Artwork.h"
#include "resources/artwork/PngWriter.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"

namespace qova::test {
namespace {

struct Decoded {
  UINT width = 0;
  UINT height = 0;
  std::vector<BYTE> bgra;  // straight alpha
};

// The picture decoded by WIC; nothing decoded gives width 0.
Decoded decode(exui::ByteView bytes) {
  Decoded out;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())))
    return out;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&out.width, &out.height)))
    return {};
  out.bgra.resize(static_cast<size_t>(out.width) * out.height * 4);
  if (FAILED(converter->CopyPixels(nullptr, out.width * 4, static_cast<UINT>(out.bgra.size()), out.bgra.data())))
    return {};
  return out;
}

// Same size, and every pixel within 2 of the other in alpha, and in colour wherever it is visible.
::testing::AssertionResult samePicture(exui::ByteView kept, exui::ByteView drawn) {
  const Decoded a = decode(kept);
  const Decoded b = decode(drawn);
  if (a.width == 0 || b.width == 0) return ::testing::AssertionFailure() << "does not decode";
  if (a.width != b.width || a.height != b.height)
    return ::testing::AssertionFailure() << a.width << "x" << a.height << " against " << b.width << "x" << b.height;
  for (size_t i = 0; i < a.bgra.size(); i += 4) {
    const bool visible = a.bgra[i + 3] > 8;
    for (size_t channel = visible ? 0 : 3; channel < 4; ++channel)
      if (std::abs(a.bgra[i + channel] - b.bgra[i + channel]) > 2)
        return ::testing::AssertionFailure() << "pixel " << i / 4 << " channel " << channel << ": "
                                             << int{a.bgra[i + channel]} << " against " << int{b.bgra[i + channel]};
  }
  return ::testing::AssertionSuccess();
}

exui::Bytes shippedFile(const std::string& path) {
  std::string name = path;
  for (char& c : name)
    if (c == '/') c = '\\';
  const std::string text = readWholeFile(programFile("..\\" + name));
  return exui::Bytes(text.begin(), text.end());
}

class Artwork : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { ::CoUninitialize(); }
};

TEST_F(Artwork, WhatTheProgramCarriesIsWhatTheGeneratorDraws) {
  const std::vector<artwork::ArtworkFile> files = artwork::programArtwork();
  size_t layoutPictures = 0;
  for (const artwork::ArtworkFile& file : files) {
    SCOPED_TRACE(file.path);
    if (file.path.rfind("layout/", 0) == 0) {
      ++layoutPictures;
      EXPECT_TRUE(samePicture(layoutImage(file.path.substr(7)), file.bytes));
    } else if (file.path.ends_with(".ex")) {
      const std::vector<exui::Bytes> kept = exui::decodeImageSet(shippedFile(file.path));
      const std::vector<exui::Bytes> drawn = exui::decodeImageSet(file.bytes);
      ASSERT_EQ(kept.size(), 2u);
      ASSERT_EQ(drawn.size(), 2u);
      for (size_t i = 0; i < kept.size(); ++i) EXPECT_TRUE(samePicture(kept[i], drawn[i])) << "picture " << i;
    } else {
      EXPECT_TRUE(samePicture(shippedFile(file.path), file.bytes));
    }
  }
  EXPECT_EQ(layoutPictures, layoutImageNames().size()) << "every embedded picture is drawn";
}

TEST_F(Artwork, ThePngWriterRoundTripsThroughTheSystemDecoder) {
  const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(artwork::crc32(digits), 0xCBF43926u);
  EXPECT_EQ(artwork::adler32(digits), 0x091E01DEu);

  // Noise, long runs, and repeats further back than deflate's window reaches.
  artwork::Picture picture(260, 90);
  uint32_t seed = 12345;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      seed = seed * 1103515245u + 12345u;
      uint32_t& pixel = picture.argb[static_cast<size_t>(y) * picture.width + x];
      if (y < 30)
        pixel = 0xFF000000u | (seed >> 8);
      else if (y < 60)
        pixel = x < 130 ? 0xFF3A8EE6u : 0x80FF0000u;
      else
        pixel = picture.at(x, y - 60);
    }
  const Decoded decoded = decode(artwork::encodePng(picture));
  ASSERT_EQ(decoded.width, 260u);
  ASSERT_EQ(decoded.height, 90u);
  for (size_t i = 0; i < picture.argb.size(); ++i) {
    const uint32_t p = picture.argb[i];
    const BYTE* d = &decoded.bgra[i * 4];
    ASSERT_EQ((uint32_t{d[3]} << 24) | (uint32_t{d[2]} << 16) | (uint32_t{d[1]} << 8) | d[0], p) << "pixel " << i;
  }
  EXPECT_TRUE(artwork::encodePng(artwork::Picture()).empty());
}

TEST_F(Artwork, PicturesHaveTheSizesTheLayoutsDescribe) {
  const std::pair<const char*, UINT> sizes[] = {
      {"previous_normal.png", 32},  {"pause_pressed.png", 32}, {"next_hover.png", 32}, {"speaker_normal.png", 24},
      {"close_pressed.png", 30},    {"list_mark.png", 22},     {"list_up_hover.png", 10}};
  for (const auto& [name, width] : sizes) EXPECT_EQ(decode(layoutImage(name)).width, width) << name;
  const Decoded background = decode(layoutImage("popup_background.png"));
  EXPECT_EQ(background.width, 188u);
  EXPECT_EQ(background.height, 164u);
  EXPECT_EQ(decode(layoutImage("list_item.png")).height, 25u);
  EXPECT_EQ(decode(layoutImage("list_thumb.png")).height, 34u);
  for (const char* icon : {"ico\\设置.png", "ico\\删除.png", "ico\\添加.png", "ico\\退出.png"})
    EXPECT_EQ(decode(shippedFile(icon)).width, 32u) << icon;
  EXPECT_TRUE(layoutImage("no such picture.png").empty());
}

TEST_F(Artwork, TheLibraryWindowsSkinLooksAsDescribed) {
  const Decoded skin = decode(layoutImage("popup_background.png"));
  ASSERT_EQ(skin.width, 188u);
  auto pixel = [&](UINT x, UINT y) {
    const BYTE* p = &skin.bgra[(static_cast<size_t>(y) * skin.width + x) * 4];
    return RGB(p[2], p[1], p[0]);
  };
  auto isBlue = [](COLORREF c) { return GetBValue(c) > GetRValue(c) + 40; };
  auto isLightBlue = [](COLORREF c) { return GetBValue(c) > 240 && GetRValue(c) < GetBValue(c) && GetRValue(c) > 200; };
  EXPECT_TRUE(isBlue(pixel(0, 80)));          // thin border
  EXPECT_TRUE(isBlue(pixel(187, 80)));
  EXPECT_FALSE(isBlue(pixel(2, 80)));
  EXPECT_TRUE(isLightBlue(pixel(94, 15)));    // the band
  EXPECT_EQ(pixel(94, 100), RGB(255, 255, 255));  // white face

  const Decoded close = decode(layoutImage("close_hover.png"));
  const BYTE* corner = close.bgra.data();
  EXPECT_GT(corner[2], 200);  // red behind the cross
  EXPECT_LT(corner[1], 60);
  const Decoded rest = decode(layoutImage("close_normal.png"));
  EXPECT_EQ(rest.bgra[3], 0) << "no face at rest";
}

}  // namespace
}  // namespace qova::test
