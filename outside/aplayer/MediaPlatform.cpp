#include "outside/aplayer/MediaPlatform.h"

#include <mfapi.h>
#include <objbase.h>

namespace qova::aplayer {

MediaPlatform::MediaPlatform() {
  // A thread whose apartment the program already chose keeps it
  // (RPC_E_CHANGED_MODE); only a successful call is balanced later.
  comInitialized_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  mediaFoundationStarted_ = SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_FULL));
}

MediaPlatform::~MediaPlatform() {
  if (mediaFoundationStarted_) ::MFShutdown();
  if (comInitialized_) ::CoUninitialize();
}

}  // namespace qova::aplayer
