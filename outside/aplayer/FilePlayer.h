#pragma once
// The playback thread's own work: it takes the requests queued in `shared`,
// opens each file (in the decoding process, or here when that cannot
// start), shows its frames at their time, sends its sound out and says how
// it went, until a Quit request.
namespace qova::aplayer {

struct PlaybackShared;

void playFiles(PlaybackShared& shared);

}  // namespace qova::aplayer
