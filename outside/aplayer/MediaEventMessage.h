#pragma once
// How an MFPlay event travels from a Media Foundation worker thread to the
// engine's window: a posted message whose WPARAM names the media session it
// belongs to and whose LPARAM carries the event type and its result.
#include <windows.h>

#include <cstdint>

namespace qova::aplayer {

// Posted by the MFPlay callback: WPARAM session id, LPARAM packMediaEvent(...).
constexpr UINT kMediaEventMessage = WM_APP + 0x51;
// Posted by the engine to reach handler 2 from the message loop: WPARAM code, LPARAM parameter.
constexpr UINT kHandlerEventMessage = WM_APP + 0x52;

struct MediaEvent {
  int32_t type;    // an MFP_EVENT_TYPE value
  HRESULT result;  // the event's hrEvent
};

inline LPARAM packMediaEvent(MediaEvent event) {
  const uint64_t bits = (uint64_t{static_cast<uint32_t>(event.result)} << 32) |
                        static_cast<uint32_t>(event.type);
  return static_cast<LPARAM>(bits);
}

inline MediaEvent unpackMediaEvent(LPARAM packed) {
  const auto bits = static_cast<uint64_t>(packed);
  return {static_cast<int32_t>(static_cast<uint32_t>(bits & 0xFFFFFFFFu)),
          static_cast<HRESULT>(static_cast<uint32_t>(bits >> 32))};
}

}  // namespace qova::aplayer
