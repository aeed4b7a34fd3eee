#pragma once
// Hardware decoding for the Source Reader: where the system has a hardware
// decoder for the file's video codec, a Direct3D 11 device and a DXGI device
// manager that the reader hands to it. Decoded frames then live on the
// graphics card; reading a sample's buffer copies them back to the planes
// the engine shows (a shared texture across the process is not made).
//
// Where no hardware decoder exists (Wine has none), nothing is made and the
// reader decodes in software as before. Windows 7 lacks the device manager:
// it is looked up by name, not imported.
#include <windows.h>
#include <mfidl.h>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

// The device manager for `source`'s first video stream, its device on
// `adapter` where that adapter is still there (the default one otherwise);
// null when its codec has no hardware decoder here or no device can be made.
ComPtr<IUnknown> hardwareDecodingFor(IMFMediaSource* source, LUID adapter);

}  // namespace qova::aplayer
