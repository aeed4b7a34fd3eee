#pragma once
// Showing frames with Direct3D 11: a DXGI swap chain on the engine's video
// window (flip model where the system has it, the older model otherwise),
// each frame's planes uploaded as textures, and a pixel shader that converts
// YUV to RGB with the stream's matrix and range and scales with bilinear
// filtering. The processor only copies the planes; the rest is the card's.
//
// Used by the playback thread alone: it presents, so the window's thread is
// never held up by the card. Any failure (no Direct3D 11, no shader
// compiler, a device lost) is reported, and the caller makes a new
// presenter or goes back to GDI.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "outside/aplayer/PictureFit.h"
#include "outside/aplayer/VideoPicture.h"

namespace qova::aplayer {

class GpuPresenter {
 public:
  // Null when the system cannot present this way.
  static std::unique_ptr<GpuPresenter> create(HWND window);
  virtual ~GpuPresenter() = default;

  // Copies the frame's planes to the card; false when the device failed.
  virtual bool upload(const PlanesView& frame) = 0;
  // Shows the last frame uploaded over the window's client area, scaled so
  // (black where it does not cover it); false when the device failed.
  virtual bool present(PictureScaling scaling) = 0;
  // The last frame uploaded as present() would show it (the picture part of
  // the window only), read back as BGRX rows into `pixels`, and where it
  // goes; false when there is none or the device failed.
  virtual bool capture(PictureScaling scaling, std::vector<uint8_t>& pixels, PicturePlacement& place) = 0;
  // The LUID of the adapter the device is on.
  virtual LUID adapter() const = 0;

 protected:
  GpuPresenter() = default;
};

}  // namespace qova::aplayer
