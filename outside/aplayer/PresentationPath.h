#pragma once
// Which way frames reach the screen: the setting (kAPlayerConfigPresentation)
// and the path in use (kAPlayerConfigPresentationInUse). Platform-free.
#include <cstdint>
#include <string_view>

namespace qova::aplayer {

enum class PresentationChoice : int32_t {
  Auto = 0,  // the graphics card, else GDI
  Gpu = 1,   // the graphics card; GDI only when the card cannot start
  Gdi = 2,
};

enum class PresentationPath : int32_t {
  GpuHardware = 0,  // decoded and shown by the card
  GpuSoftware = 1,  // decoded by the processor, shown by the card
  Gdi = 2,
};

// "1" and "2" name their choices; "0" and any other text is Auto.
constexpr PresentationChoice parsePresentationChoice(std::string_view text) {
  if (text == "1") return PresentationChoice::Gpu;
  if (text == "2") return PresentationChoice::Gdi;
  return PresentationChoice::Auto;
}

constexpr const char* presentationChoiceText(PresentationChoice choice) {
  switch (choice) {
    case PresentationChoice::Gpu:
      return "1";
    case PresentationChoice::Gdi:
      return "2";
    case PresentationChoice::Auto:
      break;
  }
  return "0";
}

constexpr const char* presentationPathText(PresentationPath path) {
  switch (path) {
    case PresentationPath::GpuHardware:
      return "gpu-hw";
    case PresentationPath::GpuSoftware:
      return "gpu-sw";
    case PresentationPath::Gdi:
      break;
  }
  return "gdi";
}

}  // namespace qova::aplayer
