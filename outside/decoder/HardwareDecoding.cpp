#include "outside/decoder/HardwareDecoding.h"

#include <d3d10.h>
#include <d3d11.h>
#include <mfapi.h>
#include <mftransform.h>

#include "outside/decoder/PresentingAdapter.h"

namespace qova::aplayer {
namespace {

// The compressed subtype of the source's first video stream; GUID_NULL for none.
GUID videoCodecOf(IMFMediaSource* source) {
  ComPtr<IMFPresentationDescriptor> presentation;
  DWORD streams = 0;
  if (FAILED(source->CreatePresentationDescriptor(presentation.put())) ||
      FAILED(presentation->GetStreamDescriptorCount(&streams)))
    return GUID_NULL;
  for (DWORD i = 0; i < streams; ++i) {
    BOOL selected = FALSE;
    ComPtr<IMFStreamDescriptor> stream;
    ComPtr<IMFMediaTypeHandler> handler;
    ComPtr<IMFMediaType> type;
    GUID major{}, subtype{};
    if (SUCCEEDED(presentation->GetStreamDescriptorByIndex(i, &selected, stream.put())) &&
        SUCCEEDED(stream->GetMediaTypeHandler(handler.put())) &&
        SUCCEEDED(handler->GetMediaTypeByIndex(0, type.put())) && SUCCEEDED(type->GetMajorType(&major)) &&
        major == MFMediaType_Video && SUCCEEDED(type->GetGUID(MF_MT_SUBTYPE, &subtype)))
      return subtype;
  }
  return GUID_NULL;
}

bool hasHardwareDecoder(const GUID& codec) {
  MFT_REGISTER_TYPE_INFO input{MFMediaType_Video, codec};
  IMFActivate** found = nullptr;
  UINT32 count = 0;
  if (FAILED(::MFTEnumEx(MFT_CATEGORY_VIDEO_DECODER, MFT_ENUM_FLAG_HARDWARE | MFT_ENUM_FLAG_SORTANDFILTER, &input,
                         nullptr, &found, &count)))
    return false;
  for (UINT32 i = 0; i < count; ++i) found[i]->Release();
  ::CoTaskMemFree(found);
  return count > 0;
}

template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
  HMODULE module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

ComPtr<IUnknown> hardwareDecodingFor(IMFMediaSource* source, LUID adapter) {
  const GUID codec = source ? videoCodecOf(source) : GUID_NULL;
  if (codec == GUID_NULL || !hasHardwareDecoder(codec)) return {};
  using CreateManager = HRESULT(WINAPI*)(UINT*, IMFDXGIDeviceManager**);
  static const auto createDevice = systemFunction<decltype(&::D3D11CreateDevice)>(L"d3d11.dll", "D3D11CreateDevice");
  static const auto createManager = systemFunction<CreateManager>(L"mfplat.dll", "MFCreateDXGIDeviceManager");
  if (!createDevice || !createManager) return {};
  ComPtr<ID3D11Device> device;
  if (!makeDeviceOn(createDevice, adapterNamed(adapter).get(), D3D11_CREATE_DEVICE_VIDEO_SUPPORT, nullptr, 0, device,
                    nullptr))
    return {};
  // The decoder and the reader use the device from their own threads.
  ComPtr<ID3D10Multithread> multithread;
  if (SUCCEEDED(device->QueryInterface(IID_PPV_ARGS(multithread.put())))) multithread->SetMultithreadProtected(TRUE);
  UINT token = 0;
  ComPtr<IMFDXGIDeviceManager> manager;
  if (FAILED(createManager(&token, manager.put())) || FAILED(manager->ResetDevice(device.get(), token))) return {};
  ComPtr<IUnknown> unknown;
  manager->QueryInterface(IID_PPV_ARGS(unknown.put()));
  return unknown;
}

}  // namespace qova::aplayer
