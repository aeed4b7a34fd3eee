#include "outside/exui/WicDecoder.h"

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <climits>

#include "runtime/UniqueHandle.h"

namespace qova::exui {
namespace {

constexpr UINT kLargestSide = 16384;

// The calling thread's imaging factory. COM stays initialised on the thread
// (in whatever apartment the thread already chose) for as long as the factory
// lives, so the caller uninitialising its own COM never pulls WIC away.
class WicSession {
 public:
  WicSession() {
    com_ = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (com_ == RPC_E_CHANGED_MODE) com_ = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                       factory_.putVoid());
  }
  ~WicSession() {
    factory_.reset();
    if (SUCCEEDED(com_)) ::CoUninitialize();
  }
  WicSession(const WicSession&) = delete;
  WicSession& operator=(const WicSession&) = delete;

  IWICImagingFactory* factory() const { return factory_.get(); }

 private:
  HRESULT com_ = E_FAIL;
  ComPtr<IWICImagingFactory> factory_;
};

IWICImagingFactory* threadFactory() {
  thread_local WicSession session;
  return session.factory();
}

}  // namespace

PixelImage decodeWithWic(ByteView bytes) {
  PixelImage image;
  if (bytes.size() < 8 || bytes.size() > UINT_MAX) return image;
  IWICImagingFactory* factory = threadFactory();
  if (!factory) return image;
  ComPtr<IStream> stream =
      ComPtr<IStream>::adopt(::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
  if (!stream) return image;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                   0.0, WICBitmapPaletteTypeCustom)))
    return image;
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > kLargestSide ||
      height > kLargestSide)
    return image;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  // A truncated file fails here (or, for some decoders, yields what was there).
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(pixels.data()))))
    return image;
  premultiply(pixels);
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels = std::move(pixels);
  return image;
}

}  // namespace qova::exui
