#pragma once
// Which graphics adapter shows a window: the one whose output drives the
// window's monitor. The presenter makes its device there, and the decoding
// process its hardware decoder's, so that decoded frames need not cross
// from one adapter to another. DXGI is looked up by name, not imported.
#include <windows.h>
#include <d3d11.h>
#include <dxgi.h>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

// The adapter with an output on `window`'s monitor; null when none has one
// (a window on no monitor, a display no adapter reports): the default then.
ComPtr<IDXGIAdapter1> adapterShowing(HWND window);
// The adapter that `luid` names; null for a zero LUID or one no longer there.
ComPtr<IDXGIAdapter1> adapterNamed(LUID luid);
// A device made through `create` (D3D11CreateDevice, looked up by name) on
// `adapter`, or on the default adapter where none is given or it refuses.
// `context` may be null.
bool makeDeviceOn(decltype(&::D3D11CreateDevice) create, IDXGIAdapter1* adapter, UINT flags,
                  const D3D_FEATURE_LEVEL* levels, UINT levelCount, ComPtr<ID3D11Device>& device,
                  ComPtr<ID3D11DeviceContext>* context);

}  // namespace qova::aplayer
