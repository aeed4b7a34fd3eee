#include "outside/screenshot/JpegEncoding.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include "runtime/UniqueHandle.h"

namespace qova::screenshot {
namespace {

// The stream's bytes from its start to its current end.
std::string bytesOf(IStream* stream) {
  STATSTG status{};
  if (FAILED(stream->Stat(&status, STATFLAG_NONAME)) || status.cbSize.QuadPart > 64u * 1024 * 1024) return {};
  std::string bytes(static_cast<size_t>(status.cbSize.QuadPart), '\0');
  const LARGE_INTEGER start{};
  ULONG read = 0;
  if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
      FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) || read != bytes.size())
    return {};
  return bytes;
}

void setQuality(IPropertyBag2* options) {
  PROPBAG2 option{};
  option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
  VARIANT value{};
  value.vt = VT_R4;
  value.fltVal = kJpegQuality;
  options->Write(1, &option, &value);
}

bool writeFrame(IWICBitmapEncoder* encoder, const media::RgbImage& image) {
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  if (FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) return false;
  if (options) setQuality(options.get());
  if (FAILED(frame->Initialize(options.get())) ||
      FAILED(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height))))
    return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
  // WIC takes the pixels as a non-const buffer but only reads them.
  auto* pixels = const_cast<BYTE*>(image.pixels.data());
  return SUCCEEDED(frame->WritePixels(static_cast<UINT>(image.height), static_cast<UINT>(image.stride()),
                                      static_cast<UINT>(image.pixels.size()), pixels)) &&
         SUCCEEDED(frame->Commit());
}

}  // namespace

std::string encodeJpeg(const media::RgbImage& image) {
  if (image.empty() || image.pixels.size() != image.stride() * static_cast<size_t>(image.height)) return {};
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())) ||
      FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)))
    return {};
  if (!writeFrame(encoder.get(), image) || FAILED(encoder->Commit())) return {};
  return bytesOf(stream.get());
}

}  // namespace qova::screenshot
