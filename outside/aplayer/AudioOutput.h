#pragma once
// The sound of the file playing, through the system's default output
// (waveOut). The device stays open from file to file while the sound format
// stays the same, so that a library played for days does not open and close
// it thousands of times. The volume is applied to the samples, so it is this
// engine's alone.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace qova::aplayer {

class AudioOutput {
 public:
  AudioOutput() = default;
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Makes the device ready for 16-bit PCM of `format`, paused and empty.
  // False when no device can take it (a machine without sound): the file then plays silent.
  bool prepare(const WAVEFORMATEX& format);
  // Gives the device back (while nothing plays, it costs nothing then).
  void close();
  bool isOpen() const { return device_ != nullptr; }

  // Queues 16-bit PCM at `level` (0.0 .. 1.0). False when the device refuses it.
  bool write(const uint8_t* pcm, size_t bytes, float level);
  void pause();
  void resume();
  // Drops everything queued; the device stays open and paused.
  void reset();

  // Sound queued but not yet played, in milliseconds.
  int64_t queuedMilliseconds();
  // True when everything queued has been played.
  bool drained() { return queuedMilliseconds() == 0; }

 private:
  struct Block {
    WAVEHDR header{};
    std::vector<int16_t> samples;
  };

  void recycleFinished();

  HWAVEOUT device_ = nullptr;
  WAVEFORMATEX format_{};
  std::deque<std::unique_ptr<Block>> queued_;
  std::vector<std::unique_ptr<Block>> spare_;
};

}  // namespace qova::aplayer
