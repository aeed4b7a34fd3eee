#include "outside/decoder/PresentingAdapter.h"

namespace qova::aplayer {
namespace {

ComPtr<IDXGIFactory1> makeFactory() {
  using CreateFactory = HRESULT(WINAPI*)(REFIID, void**);
  static const CreateFactory create = [] {
    HMODULE dxgi = ::LoadLibraryExW(L"dxgi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return dxgi ? reinterpret_cast<CreateFactory>(reinterpret_cast<void*>(::GetProcAddress(dxgi, "CreateDXGIFactory1")))
                : nullptr;
  }();
  ComPtr<IDXGIFactory1> factory;
  if (create) create(IID_PPV_ARGS(factory.put()));
  return factory;
}

bool showsMonitor(IDXGIAdapter1* adapter, HMONITOR monitor) {
  for (UINT i = 0;; ++i) {
    ComPtr<IDXGIOutput> output;
    if (FAILED(adapter->EnumOutputs(i, output.put()))) return false;
    DXGI_OUTPUT_DESC desc{};
    if (SUCCEEDED(output->GetDesc(&desc)) && desc.Monitor == monitor) return true;
  }
}

template <typename Wanted>
ComPtr<IDXGIAdapter1> firstAdapter(Wanted wanted) {
  const ComPtr<IDXGIFactory1> factory = makeFactory();
  if (!factory) return {};
  for (UINT i = 0;; ++i) {
    ComPtr<IDXGIAdapter1> adapter;
    if (FAILED(factory->EnumAdapters1(i, adapter.put()))) return {};
    if (wanted(adapter.get())) return adapter;
  }
}

}  // namespace

ComPtr<IDXGIAdapter1> adapterShowing(HWND window) {
  const HMONITOR monitor = window ? ::MonitorFromWindow(window, MONITOR_DEFAULTTONULL) : nullptr;
  if (!monitor) return {};
  return firstAdapter([monitor](IDXGIAdapter1* adapter) { return showsMonitor(adapter, monitor); });
}

ComPtr<IDXGIAdapter1> adapterNamed(LUID luid) {
  if (luid.LowPart == 0 && luid.HighPart == 0) return {};
  return firstAdapter([luid](IDXGIAdapter1* adapter) {
    DXGI_ADAPTER_DESC1 desc{};
    return SUCCEEDED(adapter->GetDesc1(&desc)) && desc.AdapterLuid.LowPart == luid.LowPart &&
           desc.AdapterLuid.HighPart == luid.HighPart;
  });
}

bool makeDeviceOn(decltype(&::D3D11CreateDevice) create, IDXGIAdapter1* adapter, UINT flags,
                  const D3D_FEATURE_LEVEL* levels, UINT levelCount, ComPtr<ID3D11Device>& device,
                  ComPtr<ID3D11DeviceContext>* context) {
  const auto make = [&](IDXGIAdapter* on) {
    return SUCCEEDED(create(on, on ? D3D_DRIVER_TYPE_UNKNOWN : D3D_DRIVER_TYPE_HARDWARE, nullptr, flags, levels,
                            levelCount, D3D11_SDK_VERSION, device.put(), nullptr, context ? context->put() : nullptr));
  };
  return create && ((adapter && make(adapter)) || make(nullptr));
}

}  // namespace qova::aplayer
