#pragma once
// Decoding candidate frames with Media Foundation's Source Reader.
#include <string>

namespace qova::screenshot {

class CaptureProgress;

// Offers `progress` one frame from each position of framePositions in turn
// until it has a good one, the positions run out, the decoder fails or the
// caller stops waiting. Tells it when the file has sound but no picture.
// Needs COM and Media Foundation started on the calling thread.
void captureFrames(const std::wstring& path, CaptureProgress& progress);

}  // namespace qova::screenshot
