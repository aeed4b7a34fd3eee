#pragma once
// Adding many videos at once (several chosen files, a folder, a drop, the
// command line) without holding the window thread: a thread of its own
// lists the files, a few more check that each can be read and have the
// frame-capture library make its thumbnail, and the window thread appends
// each record in the list's order as soon as its thumbnail is there, so that
// a cancel, or a crash, keeps what was done. One summary closes each run.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/OwnedWindow.h"
#include "library/VideoLibrary.h"

namespace qova {

// To the library window: results are there to append (posted by the adding's threads).
constexpr UINT kVideoAddingMessage = WM_APP + 40;

class VideoAdding {
 public:
  // `libraryWindow` shows the progress and receives kVideoAddingMessage;
  // `added` runs on the window thread after each record is appended, with
  // the library's entry count before it.
  VideoAdding(VideoLibrary& library, const OwnedWindow& libraryWindow, std::function<void(int countBefore)> added);
  // Cancels, and waits for the threads to end (at most one thumbnail's time).
  ~VideoAdding();
  VideoAdding(const VideoAdding&) = delete;
  VideoAdding& operator=(const VideoAdding&) = delete;

  // Adds the files, and every video of the folders (their sub-folders
  // included), in the given order, each folder's files in name order. Paths
  // given while a run goes on are added after it.
  void add(std::vector<std::wstring> paths);
  // Stops taking new files; what was appended stays.
  void cancel();
  bool running() const { return job_ != nullptr; }
  // Runs the window thread's messages until no run is left (for start-up,
  // which needs the videos before it goes on).
  void waitUntilDone();

  // The library window's messages: the adding's results and the "取消" button;
  // true when `message` was one of these.
  bool deliver(UINT message, WPARAM wParam);

  struct Job;

 private:
  void startNext();
  void appendReady();
  void finish();

  VideoLibrary& library_;
  const OwnedWindow& window_;
  std::function<void(int)> added_;
  std::shared_ptr<Job> job_;
  std::thread lister_;
  std::vector<std::wstring> waiting_;
  bool appending_ = false;
  int failedWrites_ = 0;  // in a row, for the record in hand
  bool waitingToWrite_ = false;  // until the next try of the record in hand
};

// The video extensions of the add dialog's filter (".mp4", ...), lower case.
const std::vector<std::string>& videoExtensions();

}  // namespace qova
