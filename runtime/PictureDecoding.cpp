#include "runtime/PictureDecoding.h"

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <climits>

#include "runtime/PictureFormat.h"
#include "runtime/UniqueHandle.h"

namespace qova {
namespace {

// COM for the duration of one decode, whatever the caller's apartment.
class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() { if (SUCCEEDED(result_)) ::CoUninitialize(); }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

HBITMAP decodeWithWic(std::string_view bytes) {
  if (bytes.size() > UINT_MAX) return nullptr;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.putVoid())))
    return nullptr;
  ComPtr<IStream> stream = ComPtr<IStream>::adopt(::SHCreateMemStream(
      reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) return nullptr;
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())))
    return nullptr;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return nullptr;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return nullptr;
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
      width > 16384 || height > 16384)
    return nullptr;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!bitmap || !pixels) return nullptr;
  const UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels))))
    return nullptr;
  return static_cast<HBITMAP>(bitmap.release());
}

HBITMAP drawIconOnWhite(std::string_view bytes) {
  auto image = iconImageAt(bytes, 0);
  if (!image) return nullptr;
  // Both icons and cursors are drawn as icons: only the picture matters here.
  UniqueIcon icon(::CreateIconFromResourceEx(
      reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data() + image->offset)), image->size, TRUE,
      0x30000, image->width, image->height, LR_DEFAULTCOLOR));
  if (!icon) return nullptr;

  HDC screen = ::GetDC(nullptr);
  HBITMAP canvas = ::CreateCompatibleBitmap(screen, image->width, image->height);
  UniqueMemoryDc memory(::CreateCompatibleDC(screen));
  ::ReleaseDC(nullptr, screen);
  if (!canvas || !memory) {
    if (canvas) ::DeleteObject(canvas);
    return nullptr;
  }
  HGDIOBJ previous = ::SelectObject(memory.get(), canvas);
  ::PatBlt(memory.get(), 0, 0, image->width, image->height, WHITENESS);
  ::DrawIconEx(memory.get(), 0, 0, icon.get(), image->width, image->height, 0, nullptr, DI_NORMAL);
  ::SelectObject(memory.get(), previous);
  return canvas;
}

}  // namespace

HBITMAP decodePictureToBitmap(std::string_view bytes) {
  switch (detectPictureFormat(bytes)) {
    case PictureFormat::Unknown:
      return nullptr;
    case PictureFormat::Icon:
    case PictureFormat::Cursor:
      return drawIconOnWhite(bytes);
    default:
      return decodeWithWic(bytes);
  }
}

}  // namespace qova
