#include "tests/outside/exui/TestPictures.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>

#include "runtime/ProgramDirectory.h"
#include "runtime/UniqueHandle.h"
#include "tests/support/Dib.h"

namespace qova::test {
namespace {

class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() { if (SUCCEEDED(result_)) ::CoUninitialize(); }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

GUID containerOf(PictureType type) {
  switch (type) {
    case PictureType::Png: return GUID_ContainerFormatPng;
    case PictureType::Jpeg: return GUID_ContainerFormatJpeg;
    case PictureType::Bmp: return GUID_ContainerFormatBmp;
    case PictureType::Gif: return GUID_ContainerFormatGif;
  }
  return GUID_ContainerFormatPng;
}

// 24-bit BGR rows for encoders without alpha, over white.
std::vector<BYTE> bgrRows(const Pixels& pixels, UINT stride) {
  std::vector<BYTE> rows(static_cast<size_t>(stride) * static_cast<size_t>(pixels.height));
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x) {
      const uint32_t p = pixels.at(x, y);
      const uint32_t alpha = p >> 24;
      for (int channel = 0; channel < 3; ++channel) {
        const uint32_t value = (p >> (8 * channel)) & 0xFF;
        rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3 + static_cast<size_t>(channel)] =
            static_cast<BYTE>((value * alpha + 255 * (255 - alpha)) / 255);
      }
    }
  return rows;
}

}  // namespace

exui::Bytes encodePicture(const Pixels& pixels, PictureType type) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())) ||
      FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
      FAILED(factory->CreateEncoder(containerOf(type), nullptr, encoder.put())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
      FAILED(frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height))))
    return {};
  const bool withAlpha = type == PictureType::Png;
  WICPixelFormatGUID format = withAlpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
  if (type == PictureType::Gif) format = GUID_WICPixelFormat8bppIndexed;
  if (FAILED(frame->SetPixelFormat(&format))) return {};
  HRESULT written = E_FAIL;
  if (format == GUID_WICPixelFormat32bppBGRA) {
    const UINT stride = static_cast<UINT>(pixels.width) * 4;
    written = frame->WritePixels(static_cast<UINT>(pixels.height), stride, stride * static_cast<UINT>(pixels.height),
                                 reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.argb.data())));
  } else if (format == GUID_WICPixelFormat24bppBGR) {
    const UINT stride = (static_cast<UINT>(pixels.width) * 3 + 3) & ~3u;
    std::vector<BYTE> rows = bgrRows(pixels, stride);
    written = frame->WritePixels(static_cast<UINT>(pixels.height), stride, static_cast<UINT>(rows.size()), rows.data());
  } else {
    // Encoders that only take palettes get the picture through a converter.
    ComPtr<IWICBitmap> bitmap;
    ComPtr<IWICFormatConverter> converter;
    ComPtr<IWICPalette> palette;
    const UINT stride = static_cast<UINT>(pixels.width) * 4;
    if (FAILED(factory->CreateBitmapFromMemory(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height),
                                               GUID_WICPixelFormat32bppBGRA, stride,
                                               stride * static_cast<UINT>(pixels.height),
                                               reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.argb.data())),
                                               bitmap.put())) ||
        FAILED(factory->CreatePalette(palette.put())) ||
        FAILED(palette->InitializePredefined(WICBitmapPaletteTypeFixedWebPalette, FALSE)) ||
        FAILED(frame->SetPalette(palette.get())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(bitmap.get(), format, WICBitmapDitherTypeNone, palette.get(), 0.0,
                                     WICBitmapPaletteTypeFixedWebPalette)))
      return {};
    written = frame->WriteSource(converter.get(), nullptr);
  }
  if (FAILED(written) || FAILED(frame->Commit()) || FAILED(encoder->Commit())) return {};
  HGLOBAL memory = nullptr;
  if (FAILED(::GetHGlobalFromStream(stream.get(), &memory))) return {};
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(memory));
  exui::Bytes out(bytes, bytes + stat.cbSize.QuadPart);
  ::GlobalUnlock(memory);
  return out;
}

Pixels solid(int width, int height, uint32_t argb) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), argb)};
}

Pixels gradient(int width, int height, uint32_t from, uint32_t to) {
  Pixels out = solid(width, height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int t = (x * 255 / std::max(1, width - 1) + y * 255 / std::max(1, height - 1)) / 2;
      uint32_t pixel = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((from >> shift) & 0xFF);
        const int b = static_cast<int>((to >> shift) & 0xFF);
        pixel |= static_cast<uint32_t>(a + (b - a) * t / 255) << shift;
      }
      const bool edge = x < 2 || y < 2 || x >= width - 2 || y >= height - 2;
      out.argb[static_cast<size_t>(y * width + x)] = edge ? ((pixel >> 1) & 0x7F7F7Fu) | 0xFF000000u : pixel;
    }
  return out;
}

Pixels glyph(int width, int height, uint32_t colour, uint32_t background, const std::function<void(HDC)>& draw) {
  void* bits = nullptr;
  UniqueGdiObject dib(createTopDownDib(nullptr, width, height, &bits));
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  Pixels out = solid(width, height, background);
  if (!dib || !dc || !bits) return out;
  HGDIOBJ previous = ::SelectObject(dc.get(), dib.get());
  ::PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
  ::SelectObject(dc.get(), ::GetStockObject(BLACK_BRUSH));
  ::SelectObject(dc.get(), ::GetStockObject(NULL_PEN));
  draw(dc.get());
  ::GdiFlush();
  const auto* ink = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < out.argb.size(); ++i) {
    const uint32_t coverage = 255 - (ink[i] & 0xFF);
    const uint32_t under = out.argb[i];
    // Straight-alpha "colour over background" at the ink's coverage.
    const uint32_t underAlpha = under >> 24;
    const uint32_t alpha = coverage + underAlpha * (255 - coverage) / 255;
    uint32_t pixel = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
      const uint32_t c = (colour >> shift) & 0xFF;
      const uint32_t u = (under >> shift) & 0xFF;
      const uint32_t value = alpha ? (c * coverage + u * underAlpha * (255 - coverage) / 255) / alpha : 0;
      pixel |= std::min<uint32_t>(value, 255) << shift;
    }
    out.argb[i] = pixel;
  }
  ::SelectObject(dc.get(), previous);
  return out;
}

Pixels captureClient(HWND window) {
  RECT client{};
  if (!::GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return {};
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  return captureScreen(origin.x, origin.y, client.right, client.bottom);
}

Pixels captureScreen(int x, int y, int width, int height) {
  Pixels out;
  if (width <= 0 || height <= 0) return out;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  UniqueGdiObject dib(createTopDownDib(screen, width, height, &bits));
  UniqueMemoryDc memory(::CreateCompatibleDC(screen));
  if (dib && memory && bits) {
    HGDIOBJ previous = ::SelectObject(memory.get(), dib.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen, x, y, SRCCOPY);
    ::GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    out = solid(width, height, 0);
    for (size_t i = 0; i < out.argb.size(); ++i) out.argb[i] = source[i] | 0xFF000000u;
    ::SelectObject(memory.get(), previous);
  }
  ::ReleaseDC(nullptr, screen);
  return out;
}

bool savePng(const Pixels& pixels, const std::string& path) {
  const exui::Bytes png = encodePicture(pixels, PictureType::Png);
  if (png.empty()) return false;
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
         written == png.size();
}

std::string screenshotPath(const std::string& name) {
  const std::string folder = qova::programFile("exui_screens");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name;
}

}  // namespace qova::test
