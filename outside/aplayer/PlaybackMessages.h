#pragma once
// How news comes back to the engine's own thread: messages posted to its
// video window, handled from the thread's message loop.
#include <windows.h>

#include <cstdint>

namespace qova::aplayer {

// Posted by the playback thread: WPARAM the session (one per open), LPARAM a PlaybackNews.
constexpr UINT kPlaybackMessage = WM_APP + 0x51;
// Posted by the engine to reach handler 2 from the message loop: WPARAM code, LPARAM parameter.
constexpr UINT kHandlerEventMessage = WM_APP + 0x52;

enum class PlaybackNews : int32_t {
  Started = 1,  // the file's first frame (or first sound) is out
  Moved = 2,    // the first frame after a seek is out
  Ended = 3,    // the file played to its end
  Failed = 4,   // the file cannot be played (on opening, or later)
};

}  // namespace qova::aplayer
