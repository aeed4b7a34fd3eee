#pragma once
// Turning a file into a Media Foundation media source, with a bound on the
// time it may take. The engine makes the source itself (rather than letting
// MFPlay do it) so that it can shut the source down when the file is closed:
// Wine's MFPlay never does, and a source left running (a GStreamer pipeline
// there) crashes the process when it exits.
#include <windows.h>
#include <mfidl.h>

#include <chrono>
#include <string>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

// The media source for the file at `path`; null when it cannot be made
// within `timeout` (a source that still arrives later is shut down at once). Meanwhile only messages sent to this thread
// are handled: nothing posted (no handler of the caller) runs.
ComPtr<IMFMediaSource> resolveMediaSource(const std::wstring& path, std::chrono::milliseconds timeout);

}  // namespace qova::aplayer
