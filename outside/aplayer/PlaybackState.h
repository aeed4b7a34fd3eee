#pragma once
// Where the playback thread stands with its file, and how each request and
// each turn of the file moves it on: one transition each. Platform-free.
namespace qova::aplayer {

enum class PlaybackState {
  NoFile,          // before the first file, after a close or a failure
  Starting,        // opened, rewound or moved: decoding up to its first frame, then playing
  StartingPaused,  // the same, holding still once that frame is out
  Playing,
  Paused,          // the frame on show stays; the decoders keep their place
  Asleep,          // paused long: the decoders and the sound device are gone, the place is kept
  Ended,           // played to its end; kept open, to be rewound
};

enum class PlaybackEvent {
  Opened,      // a file opened, or the same file rewound: every open plays
  Closed,      // a close, or a file that failed
  Pause,
  Play,        // from Asleep: the file was opened again where it stood
  Moved,       // a seek landed (from Asleep: the file was opened again first)
  FirstOut,    // the first frame (or sound) of a start or a move is out
  ReachedEnd,
  FellAsleep,  // paused long enough to let the decoders go
};

constexpr PlaybackState nextState(PlaybackState state, PlaybackEvent event) {
  using enum PlaybackState;
  switch (event) {
    case PlaybackEvent::Opened:
      return Starting;
    case PlaybackEvent::Closed:
      return NoFile;
    case PlaybackEvent::Pause:
      return state == Starting ? StartingPaused : state == Playing ? Paused : state;
    case PlaybackEvent::Play:
      return state == StartingPaused || state == Asleep ? Starting : state == Paused ? Playing : state;
    case PlaybackEvent::Moved:
      if (state == NoFile) return NoFile;
      return state == StartingPaused || state == Paused || state == Asleep ? StartingPaused : Starting;
    case PlaybackEvent::FirstOut:
      return state == Starting ? Playing : state == StartingPaused ? Paused : state;
    case PlaybackEvent::ReachedEnd:
      return state == Playing ? Ended : state;
    case PlaybackEvent::FellAsleep:
      return state == Paused ? Asleep : state;
  }
  return state;
}

// The thread decodes and shows frames only in these.
constexpr bool decodesIn(PlaybackState state) {
  return state == PlaybackState::Starting || state == PlaybackState::StartingPaused ||
         state == PlaybackState::Playing;
}

}  // namespace qova::aplayer
