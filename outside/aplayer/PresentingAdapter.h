#pragma once
// Which graphics adapter shows a window: the one whose output drives the
// window's monitor. The presenter makes its device there, and the decoding
// process its hardware decoder's, so that decoded frames need not cross
// from one adapter to another. DXGI is looked up by name, not imported.
#include <windows.h>
#include <dxgi.h>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

// The adapter with an output on `window`'s monitor; null when none has one
// (a window on no monitor, a display no adapter reports): the default then.
ComPtr<IDXGIAdapter1> adapterShowing(HWND window);
// The adapter that `luid` names; null for a zero LUID or one no longer there.
ComPtr<IDXGIAdapter1> adapterNamed(LUID luid);
// The adapter's LUID; zero for none.
LUID luidOf(IDXGIAdapter1* adapter);

}  // namespace qova::aplayer
