#pragma once
// The thread that plays an engine's files: it opens each file, decodes it,
// shows its frames in time and sends its sound out, while the engine's own
// thread (the program's window thread) only queues requests and is never
// held up by the platform. One such thread lives as long as its engine and
// plays every file the engine opens, so nothing grows from file to file.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "outside/aplayer/PresentationPath.h"
#include "outside/aplayer/VideoPicture.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class DiagnosticLines;
struct PlaybackShared;
struct PlaybackRequest;

class PlaybackWorker {
 public:
  // News of each session goes to `window` as kPlaybackMessage; frames are
  // drawn into it and kept in `picture` for its paints; what went wrong is
  // written in `diagnostics`.
  PlaybackWorker(HWND window, std::shared_ptr<VideoPicture> picture, std::shared_ptr<DiagnosticLines> diagnostics);
  // Stops the thread; one stuck in the platform is left to end on its own.
  ~PlaybackWorker();
  PlaybackWorker(const PlaybackWorker&) = delete;
  PlaybackWorker& operator=(const PlaybackWorker&) = delete;

  // False when the thread could not be started.
  bool running() const { return static_cast<bool>(thread_); }
  // True when the thread has been inside one platform call for longer than
  // any call of a sound file takes (a demuxer or decoder that hangs on a bad
  // file). Such a worker is replaced; its thread ends whenever the call returns.
  bool stuck() const;

  // Plays `path` as `session`, closing what played before. The same file
  // again, unchanged, is rewound rather than opened anew.
  void open(uint32_t session, const std::wstring& path);
  enum class OpenAnswer { Opened, Failed, Pending };
  // Waits at most `limit` for the thread to say whether `session`'s file opened.
  OpenAnswer waitForAnswer(uint32_t session, std::chrono::milliseconds limit);
  // Stops playback and lets the file go; the frame on show stays unless `clearPicture`.
  void close(bool clearPicture);
  void pause();
  void play();
  // 100 ns units.
  void seek(int64_t time);
  // 0.0 .. 1.0, for the sound sent out from now on.
  void setAudioLevel(float level);
  void setScaling(PictureScaling scaling);
  // Takes effect at the next file opened.
  void setPresentation(PresentationChoice choice);
  // The way frames reach the screen now.
  PresentationPath presentationPath() const;
  // Has the frame on show drawn again where the window's own paint cannot draw it (the graphics card's path).
  void repaint();

  struct Status {
    int64_t position = 0;  // 100 ns units
    int64_t duration = 0;
    SIZE video{};          // the picture's size on screen; 0 x 0 without video
  };
  Status status() const;

 private:
  void request(PlaybackRequest request);

  std::shared_ptr<PlaybackShared> shared_;
  UniqueHandle thread_;
};

}  // namespace qova::aplayer
