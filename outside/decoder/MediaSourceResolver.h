#pragma once
// Turning a file into a Media Foundation media source, with a bound on the
// time it may take: the platform's demuxers can take long, or for ever, to
// make sense of a damaged file. The engine shuts the source down itself when
// the file is closed: a source left running (a GStreamer pipeline under
// Wine) keeps its threads and memory, and crashes the process at exit.
#include <windows.h>
#include <mfidl.h>

#include <chrono>
#include <string>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

enum class Resolution { Made, Refused, TimedOut, Interrupted };

struct ResolvedSource {
  ComPtr<IMFMediaSource> source;  // null unless Made
  Resolution outcome = Resolution::Refused;
  HRESULT error = S_OK;  // why the platform refused it, when it says
};

// The media source for the file at `path`. Gives up after `timeout`, or as
// soon as `interrupt` (an event, may be null) is signalled; a source that
// still arrives after that is shut down at once. Blocks the calling thread.
ResolvedSource resolveMediaSource(const std::wstring& path, std::chrono::milliseconds timeout, HANDLE interrupt);

}  // namespace qova::aplayer
