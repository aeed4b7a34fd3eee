#include "outside/aplayer/GpuPresenter.h"

#include <d3d11.h>
#include <d3dcompiler.h>
#include <dxgi1_2.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "outside/aplayer/YuvToRgb.h"
#include "outside/decoder/PresentingAdapter.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {
namespace {

// One full-window triangle; the texture coordinates cover the part of the
// picture that shows, and the viewport is where it lands.
constexpr char kShaderSource[] = R"(
cbuffer Frame : register(b0) {
  float4 rowR;
  float4 rowG;
  float4 rowB;
  float4 source;  // the part of the picture that shows: offset (xy) and size (zw), in texture units
};
Texture2D luma : register(t0);
Texture2D chroma : register(t1);
SamplerState smooth : register(s0);
struct Corner {
  float4 position : SV_Position;
  float2 uv : TEXCOORD0;
};
Corner vertexMain(uint id : SV_VertexID) {
  float2 corner = float2((id << 1) & 2, id & 2);
  Corner c;
  c.position = float4(corner * float2(2, -2) + float2(-1, 1), 0, 1);
  c.uv = source.xy + corner * source.zw;
  return c;
}
float4 yuvMain(Corner c) : SV_Target {
  float3 s = float3(luma.Sample(smooth, c.uv).r, chroma.Sample(smooth, c.uv).rg);
  return float4(saturate(float3(dot(rowR.xyz, s) + rowR.w, dot(rowG.xyz, s) + rowG.w, dot(rowB.xyz, s) + rowB.w)), 1);
}
float4 rgbMain(Corner c) : SV_Target {
  return float4(luma.Sample(smooth, c.uv).rgb, 1);
}
)";

struct FrameConstants {
  YuvToRgbRows rows;
  std::array<float, 4> source;
};
static_assert(sizeof(FrameConstants) == 64, "a constant buffer is whole 16-byte registers");

struct ShaderCode {
  std::vector<uint8_t> vertex;
  std::vector<uint8_t> yuv;
  std::vector<uint8_t> rgb;
  bool complete() const { return !vertex.empty() && !yuv.empty() && !rgb.empty(); }
};

// Compiled once per process, at the first presenter: d3dcompiler_47.dll
// ships with Windows 10 and 11 (and Wine); without it there is no GPU path.
const ShaderCode& shaderCode() {
  static ShaderCode code;
  static std::once_flag once;
  std::call_once(once, [] {
    HMODULE compiler = ::LoadLibraryExW(L"d3dcompiler_47.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!compiler) return;
    const auto compile =
        reinterpret_cast<pD3DCompile>(reinterpret_cast<void*>(::GetProcAddress(compiler, "D3DCompile")));
    const auto build = [compile](const char* entry, const char* target) -> std::vector<uint8_t> {
      ComPtr<ID3DBlob> blob, errors;
      if (!compile || FAILED(compile(kShaderSource, sizeof kShaderSource - 1, "presenter", nullptr, nullptr, entry,
                                     target, D3DCOMPILE_OPTIMIZATION_LEVEL3, 0, blob.put(), errors.put())))
        return {};
      const auto* bytes = static_cast<const uint8_t*>(blob->GetBufferPointer());
      return {bytes, bytes + blob->GetBufferSize()};
    };
    code.vertex = build("vertexMain", "vs_4_0");
    code.yuv = build("yuvMain", "ps_4_0");
    code.rgb = build("rgbMain", "ps_4_0");
    // The compiler stays loaded: it is not needed again, but unloading it
    // while another engine's thread might be starting buys nothing.
  });
  return code;
}

using CreateDevice = decltype(&::D3D11CreateDevice);

CreateDevice deviceFactory() {
  static const CreateDevice create = [] {
    HMODULE d3d11 = ::LoadLibraryExW(L"d3d11.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return d3d11 ? reinterpret_cast<CreateDevice>(
                       reinterpret_cast<void*>(::GetProcAddress(d3d11, "D3D11CreateDevice")))
                 : nullptr;
  }();
  return create;
}

// For the tests: the variable makes every Present fail, as a lost device does.
bool presentMadeToFail() { return ::GetEnvironmentVariableW(L"QOVA_APLAYER_FAIL_PRESENT", nullptr, 0) > 0; }

SIZE clientSize(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return {std::max<LONG>(client.right - client.left, 1), std::max<LONG>(client.bottom - client.top, 1)};
}

class Direct3DPresenter final : public GpuPresenter {
 public:
  explicit Direct3DPresenter(HWND window) : window_(window), failPresent_(presentMadeToFail()) {}

  bool start() {
    const ShaderCode& code = shaderCode();
    const CreateDevice createDevice = deviceFactory();
    if (!code.complete() || !createDevice) return false;
    const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0};
    // The adapter that drives the window's monitor: there the swap chain's
    // pictures need not be copied from one card to another.
    if (!makeDeviceOn(createDevice, adapterShowing(window_).get(), D3D11_CREATE_DEVICE_BGRA_SUPPORT, levels,
                      static_cast<UINT>(std::size(levels)), device_, &context_))
      return false;
    if (!makeSwapChain()) return false;
    if (FAILED(device_->CreateVertexShader(code.vertex.data(), code.vertex.size(), nullptr, vertexShader_.put())) ||
        FAILED(device_->CreatePixelShader(code.yuv.data(), code.yuv.size(), nullptr, yuvShader_.put())) ||
        FAILED(device_->CreatePixelShader(code.rgb.data(), code.rgb.size(), nullptr, rgbShader_.put())))
      return false;
    D3D11_BUFFER_DESC constants{};
    constants.ByteWidth = sizeof(FrameConstants);
    constants.Usage = D3D11_USAGE_DEFAULT;
    constants.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    D3D11_SAMPLER_DESC sampler{};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
    sampler.MaxLOD = D3D11_FLOAT32_MAX;
    D3D11_QUERY_DESC finished{D3D11_QUERY_EVENT, 0};
    return SUCCEEDED(device_->CreateBuffer(&constants, nullptr, constants_.put())) &&
           SUCCEEDED(device_->CreateSamplerState(&sampler, sampler_.put())) &&
           SUCCEEDED(device_->CreateQuery(&finished, shown_.put())) && warmUp();
  }

  bool upload(const PlanesView& frame) override {
    if (!frame.data) return true;
    const media::PictureFormat& format = frame.format;
    const media::FrameLayout planes = media::planeLayout(format);
    const size_t bytes = media::pictureBytes(format);
    if (bytes == 0 || frame.bytes < bytes) return true;  // nothing that could be shown
    waitForCard();
    if (!sameShape(format) && !makeTextures(format)) return false;
    const auto stride = static_cast<UINT>(planes.stride);
    if (!writePlane(0, frame.data, stride) ||
        (format.planes != media::PlaneFormat::Bgrx &&
         !writePlane(1, frame.data + static_cast<size_t>(stride) * static_cast<size_t>(format.height), stride)))
      return false;
    format_ = format;
    shownWidth_ = frame.shownWidth;
    return deviceAlive();
  }

  bool present(PictureScaling scaling) override {
    if (failPresent_) return false;
    waitForCard();
    const SIZE size = clientSize(window_);
    if ((size.cx != bufferSize_.cx || size.cy != bufferSize_.cy || !target_) && !resizeBuffers(size)) return false;
    const float black[4] = {0, 0, 0, 1};
    context_->ClearRenderTargetView(target_.get(), black);
    const PicturePlacement place = placePicture(size.cx, size.cy, shownWidth_, format_.height, scaling);
    if (textures_[0] && place.target.width > 0 && place.target.height > 0) draw(place);
    const HRESULT presented = swapChain_->Present(1, 0);
    context_->End(shown_.get());
    presentPending_ = true;
    return SUCCEEDED(presented) && deviceAlive();
  }

  bool capture(PictureScaling scaling, std::vector<uint8_t>& pixels, PicturePlacement& place) override {
    const SIZE size = clientSize(window_);
    place = placePicture(size.cx, size.cy, shownWidth_, format_.height, scaling);
    if (!textures_[0] || place.target.width <= 0 || place.target.height <= 0) return false;
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = static_cast<UINT>(place.target.width);
    desc.Height = static_cast<UINT>(place.target.height);
    desc.MipLevels = desc.ArraySize = desc.SampleDesc.Count = 1;
    desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    desc.BindFlags = D3D11_BIND_RENDER_TARGET;
    ComPtr<ID3D11Texture2D> drawn, readable;
    ComPtr<ID3D11RenderTargetView> offscreen;
    if (FAILED(device_->CreateTexture2D(&desc, nullptr, drawn.put())) ||
        FAILED(device_->CreateRenderTargetView(drawn.get(), nullptr, offscreen.put())))
      return false;
    desc.BindFlags = 0;
    desc.Usage = D3D11_USAGE_STAGING;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    if (FAILED(device_->CreateTexture2D(&desc, nullptr, readable.put()))) return false;
    PicturePlacement offscreenPlace = place;
    offscreenPlace.target.left = offscreenPlace.target.top = 0;
    std::swap(target_, offscreen);
    draw(offscreenPlace);
    std::swap(target_, offscreen);
    context_->CopyResource(readable.get(), drawn.get());
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(context_->Map(readable.get(), 0, D3D11_MAP_READ, 0, &mapped))) return false;
    const size_t rowBytes = static_cast<size_t>(place.target.width) * 4;
    pixels.resize(rowBytes * static_cast<size_t>(place.target.height));
    for (int row = 0; row < place.target.height; ++row) {
      uint8_t* out = pixels.data() + static_cast<size_t>(row) * rowBytes;
      std::memcpy(out, static_cast<const uint8_t*>(mapped.pData) + static_cast<size_t>(row) * mapped.RowPitch,
                  rowBytes);
      for (size_t x = 3; x < rowBytes; x += 4) out[x] = 0;
    }
    context_->Unmap(readable.get(), 0);
    return deviceAlive();
  }

 private:
  bool makeSwapChain() {
    ComPtr<IDXGIDevice> dxgiDevice;
    ComPtr<IDXGIAdapter> adapter;
    if (FAILED(device_->QueryInterface(IID_PPV_ARGS(dxgiDevice.put()))) ||
        FAILED(dxgiDevice->GetAdapter(adapter.put())))
      return false;
    DXGI_ADAPTER_DESC described{};
    if (SUCCEEDED(adapter->GetDesc(&described))) adapter_ = described.AdapterLuid;
    bufferSize_ = clientSize(window_);
    ComPtr<IDXGIFactory2> factory2;
    if (SUCCEEDED(adapter->GetParent(IID_PPV_ARGS(factory2.put())))) {
      DXGI_SWAP_CHAIN_DESC1 desc{};
      desc.Width = static_cast<UINT>(bufferSize_.cx);
      desc.Height = static_cast<UINT>(bufferSize_.cy);
      desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
      desc.SampleDesc.Count = 1;
      desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
      desc.BufferCount = 2;
      desc.Scaling = DXGI_SCALING_STRETCH;
      desc.AlphaMode = DXGI_ALPHA_MODE_IGNORE;
      // Flip discard from Windows 10, flip sequential on 8 and 8.1.
      for (const DXGI_SWAP_EFFECT effect : {DXGI_SWAP_EFFECT_FLIP_DISCARD, DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL}) {
        desc.SwapEffect = effect;
        ComPtr<IDXGISwapChain1> chain;
        if (SUCCEEDED(factory2->CreateSwapChainForHwnd(device_.get(), window_, &desc, nullptr, nullptr, chain.put()))) {
          swapChain_ = ComPtr<IDXGISwapChain>::adopt(chain.get());
          swapChain_->AddRef();
          factory2->MakeWindowAssociation(window_, DXGI_MWA_NO_WINDOW_CHANGES | DXGI_MWA_NO_ALT_ENTER);
          return true;
        }
      }
    }
    // Windows 7: the older model.
    ComPtr<IDXGIFactory> factory;
    if (FAILED(adapter->GetParent(IID_PPV_ARGS(factory.put())))) return false;
    DXGI_SWAP_CHAIN_DESC desc{};
    desc.BufferDesc.Width = static_cast<UINT>(bufferSize_.cx);
    desc.BufferDesc.Height = static_cast<UINT>(bufferSize_.cy);
    desc.BufferDesc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    desc.SampleDesc.Count = 1;
    desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    desc.BufferCount = 1;
    desc.OutputWindow = window_;
    desc.Windowed = TRUE;
    desc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    if (FAILED(factory->CreateSwapChain(device_.get(), &desc, swapChain_.put()))) return false;
    factory->MakeWindowAssociation(window_, DXGI_MWA_NO_WINDOW_CHANGES | DXGI_MWA_NO_ALT_ENTER);
    return true;
  }

  // Draws once with each shader off screen and waits for it: a renderer
  // that compiles its shaders at their first use (Wine's, on the processor,
  // for about a second) does so now, before a file's first frame is timed.
  bool warmUp() {
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = desc.Height = 2;
    desc.MipLevels = desc.ArraySize = desc.SampleDesc.Count = 1;
    desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    desc.BindFlags = D3D11_BIND_RENDER_TARGET;
    ComPtr<ID3D11Texture2D> texture;
    ComPtr<ID3D11RenderTargetView> offscreen;
    D3D11_QUERY_DESC finished{D3D11_QUERY_EVENT, 0};
    ComPtr<ID3D11Query> query;
    if (FAILED(device_->CreateTexture2D(&desc, nullptr, texture.put())) ||
        FAILED(device_->CreateRenderTargetView(texture.get(), nullptr, offscreen.put())) ||
        FAILED(device_->CreateQuery(&finished, query.put())))
      return false;
    std::swap(target_, offscreen);
    for (const media::PlaneFormat planes : {media::PlaneFormat::Nv12, media::PlaneFormat::Bgrx}) {
      media::PictureFormat tiny;
      tiny.planes = planes;
      tiny.width = tiny.height = 2;
      if (!makeTextures(tiny)) return false;
      format_ = tiny;
      shownWidth_ = 2;
      draw(placePicture(2, 2, 2, 2, PictureScaling::Fit));
    }
    std::swap(target_, offscreen);
    context_->End(query.get());
    context_->Flush();
    constexpr ULONGLONG kLongestWarmUp = 5000;
    const ULONGLONG start = ::GetTickCount64();
    while (context_->GetData(query.get(), nullptr, 0, 0) == S_FALSE && ::GetTickCount64() - start < kLongestWarmUp)
      ::Sleep(1);
    for (auto& view : views_) view.reset();
    for (auto& plane : textures_) plane.reset();
    format_ = {};
    shownWidth_ = 0;
    return deviceAlive();
  }

  // Sleeps until the card has shown the last frame presented, before more
  // work is queued behind it. A renderer may otherwise make this thread spin
  // while it is behind (wined3d does, within Present, on the processor).
  // Where the card keeps up, as real ones do, nothing is waited for.
  // Bounded: a card that never answers is left behind, and a lost device is
  // found by the next call.
  void waitForCard() {
    if (!presentPending_) return;
    presentPending_ = false;
    constexpr ULONGLONG kLongestWait = 250;
    const ULONGLONG start = ::GetTickCount64();
    while (context_->GetData(shown_.get(), nullptr, 0, 0) == S_FALSE && ::GetTickCount64() - start < kLongestWait)
      ::Sleep(1);
  }

  bool resizeBuffers(SIZE size) {
    target_.reset();
    context_->OMSetRenderTargets(0, nullptr, nullptr);
    if (FAILED(swapChain_->ResizeBuffers(0, static_cast<UINT>(size.cx), static_cast<UINT>(size.cy),
                                         DXGI_FORMAT_UNKNOWN, 0)))
      return false;
    bufferSize_ = size;
    ComPtr<ID3D11Texture2D> backBuffer;
    return SUCCEEDED(swapChain_->GetBuffer(0, IID_PPV_ARGS(backBuffer.put()))) &&
           SUCCEEDED(device_->CreateRenderTargetView(backBuffer.get(), nullptr, target_.put()));
  }

  bool sameShape(const media::PictureFormat& format) const {
    return textures_[0] && format.planes == format_.planes && format.width == format_.width &&
           format.height == format_.height;
  }

  // Luma and chroma as R8 and R8G8 (R16 and R16G16 for 10-bit), or the RGB
  // picture as one texture: graphics cards rarely sample NV12 textures themselves.
  bool makeTextures(const media::PictureFormat& format) {
    for (auto& texture : textures_) texture.reset();
    for (auto& view : views_) view.reset();
    const bool tenBit = format.planes == media::PlaneFormat::P010;
    const bool rgb = format.planes == media::PlaneFormat::Bgrx;
    const DXGI_FORMAT lumaFormat = rgb ? DXGI_FORMAT_B8G8R8A8_UNORM : tenBit ? DXGI_FORMAT_R16_UNORM : DXGI_FORMAT_R8_UNORM;
    const DXGI_FORMAT chromaFormat = tenBit ? DXGI_FORMAT_R16G16_UNORM : DXGI_FORMAT_R8G8_UNORM;
    const int planes = rgb ? 1 : 2;
    for (int plane = 0; plane < planes; ++plane) {
      D3D11_TEXTURE2D_DESC desc{};
      desc.Width = static_cast<UINT>(plane == 0 ? format.width : (format.width + 1) / 2);
      desc.Height = static_cast<UINT>(plane == 0 ? format.height : (format.height + 1) / 2);
      desc.MipLevels = 1;
      desc.ArraySize = 1;
      desc.Format = plane == 0 ? lumaFormat : chromaFormat;
      desc.SampleDesc.Count = 1;
      desc.Usage = D3D11_USAGE_DYNAMIC;
      desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
      desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
      if (FAILED(device_->CreateTexture2D(&desc, nullptr, textures_[plane].put())) ||
          FAILED(device_->CreateShaderResourceView(textures_[plane].get(), nullptr, views_[plane].put())))
        return false;
    }
    return true;
  }

  // One copy, row by row, from the frame's memory into the memory the
  // renderer hands out for the plane.
  bool writePlane(int plane, const uint8_t* rows, UINT stride) {
    ID3D11Texture2D* texture = textures_[plane].get();
    D3D11_TEXTURE2D_DESC desc{};
    texture->GetDesc(&desc);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(context_->Map(texture, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return false;
    const size_t rowBytes = std::min<size_t>(stride, mapped.RowPitch);
    auto* out = static_cast<uint8_t*>(mapped.pData);
    for (UINT row = 0; row < desc.Height; ++row)
      std::memcpy(out + static_cast<size_t>(row) * mapped.RowPitch, rows + static_cast<size_t>(row) * stride, rowBytes);
    context_->Unmap(texture, 0);
    return true;
  }

  void draw(const PicturePlacement& place) {
    const float width = static_cast<float>(shownWidth_ > 0 ? shownWidth_ : format_.width);
    const float height = static_cast<float>(format_.height);
    const auto part = [](int length, float whole) { return static_cast<float>(length) / whole; };
    FrameConstants constants{yuvToRgbRows(format_.matrix, format_.fullRange),
                             {part(place.source.left, width), part(place.source.top, height),
                              part(place.source.width, width), part(place.source.height, height)}};
    context_->UpdateSubresource(constants_.get(), 0, nullptr, &constants, 0, 0);
    D3D11_VIEWPORT viewport{static_cast<float>(place.target.left), static_cast<float>(place.target.top),
                            static_cast<float>(place.target.width), static_cast<float>(place.target.height), 0, 1};
    ID3D11RenderTargetView* targets[] = {target_.get()};
    ID3D11ShaderResourceView* views[] = {views_[0].get(), views_[1].get()};
    ID3D11Buffer* buffers[] = {constants_.get()};
    ID3D11SamplerState* samplers[] = {sampler_.get()};
    const bool rgb = format_.planes == media::PlaneFormat::Bgrx;
    context_->OMSetRenderTargets(1, targets, nullptr);
    context_->RSSetViewports(1, &viewport);
    context_->IASetInputLayout(nullptr);
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context_->VSSetShader(vertexShader_.get(), nullptr, 0);
    context_->VSSetConstantBuffers(0, 1, buffers);
    context_->PSSetShader(rgb ? rgbShader_.get() : yuvShader_.get(), nullptr, 0);
    context_->PSSetConstantBuffers(0, 1, buffers);
    context_->PSSetShaderResources(0, rgb ? 1 : 2, views);
    context_->PSSetSamplers(0, 1, samplers);
    context_->Draw(3, 0);
  }

  bool deviceAlive() const { return SUCCEEDED(device_->GetDeviceRemovedReason()); }

  LUID adapter() const override { return adapter_; }

  const HWND window_;
  const bool failPresent_;
  ComPtr<ID3D11Device> device_;
  ComPtr<ID3D11DeviceContext> context_;
  ComPtr<IDXGISwapChain> swapChain_;
  LUID adapter_{};
  ComPtr<ID3D11RenderTargetView> target_;
  SIZE bufferSize_{};
  ComPtr<ID3D11VertexShader> vertexShader_;
  ComPtr<ID3D11PixelShader> yuvShader_;
  ComPtr<ID3D11PixelShader> rgbShader_;
  ComPtr<ID3D11Buffer> constants_;
  ComPtr<ID3D11SamplerState> sampler_;
  ComPtr<ID3D11Query> shown_;
  bool presentPending_ = false;
  std::array<ComPtr<ID3D11Texture2D>, 2> textures_;
  std::array<ComPtr<ID3D11ShaderResourceView>, 2> views_;
  media::PictureFormat format_;
  int shownWidth_ = 0;
};

}  // namespace

std::unique_ptr<GpuPresenter> GpuPresenter::create(HWND window) {
  if (!window || !::IsWindow(window)) return nullptr;
  auto presenter = std::make_unique<Direct3DPresenter>(window);
  if (!presenter->start()) return nullptr;
  return presenter;
}

}  // namespace qova::aplayer
