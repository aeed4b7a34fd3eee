#pragma once
// Asking a Source Reader for video frames we can read, and what it says of
// its file: shared by the frame capture and the player engine.
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <cstdint>
#include <optional>
#include <string>

#include "outside/media/VideoFrameFormat.h"

namespace qova::media {

// The first video stream's frames as the reader now hands them out; nullopt when we cannot read them.
// `stream`: see describeVideoType.
std::optional<VideoFrameFormat> currentVideoFormat(IMFSourceReader* reader, const StreamColour* stream = nullptr);

// Sets the first video stream to the first layout we can read that the
// reader accepts: `preferred`, then the decoder's own, then every other
// layout we read. Nullopt when it accepts none.
std::optional<VideoFrameFormat> chooseVideoFormat(IMFSourceReader* reader, const GUID& preferred,
                                                  const StreamColour* stream = nullptr);

// What the file at `path` states of its video's colour itself (see
// StreamColour.h); nullopt when it cannot be read or says nothing.
std::optional<StreamColour> fileStreamColour(const std::wstring& path);

// The file's duration in 100 ns units; 0 when the source does not know it.
int64_t readerDuration(IMFSourceReader* reader);

// Moves the reader to `position` (100 ns units); false when the source cannot seek.
bool seekReader(IMFSourceReader* reader, int64_t position);

}  // namespace qova::media
