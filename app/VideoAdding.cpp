#include "app/VideoAdding.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <unordered_set>
#include <utility>

#include "app/AddVideo.h"
#include "app/LibraryNotices.h"
#include "app/LibraryWindow.h"
#include "app/VideoFileList.h"
#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryFile.h"
#include "library/ThumbnailAnswer.h"
#include "library/UnusedThumbnail.h"
#include "outside/screenshot/ScreenshotContract.h"
#include "runtime/AnsiPath.h"
#include "runtime/AnsiText.h"
#include "runtime/OutsideFunction.h"
#include "runtime/UniqueHandle.h"
#include "shell/CommonDialog.h"
#include "shell/DialogFilter.h"

namespace qova {
namespace {

const OutsideFunction<ScreenshotFunction> makeThumbnail{kScreenshotLibrary, kScreenshotExport};

// The frame-capture library's answer lives only until its next call, from
// any thread: a call and the copy of its answer take turns.
std::mutex captureTurn;

// The most files checked and captured at once: the machine's cores, and no
// more than a few, so that adding never crowds out the wallpaper.
unsigned workerCount() { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

// How long the window thread appends records before it lets other messages in.
constexpr std::chrono::milliseconds kAppendSlice{30};

// A library file that cannot be written is tried again this often before the
// adding gives up and says so.
constexpr UINT_PTR kWriteRetryTimer = 0x5A02;
constexpr UINT kWriteRetryDelayMs = 250;
constexpr int kWriteTries = 20;

std::optional<std::string> capturedAnswer(const std::string& videoPath) {
  const std::lock_guard turn(captureTurn);
  const char* answer = makeThumbnail(videoPath.c_str());
  if (!answer) return std::nullopt;
  return std::string(answer);
}

// Whether the file's first bytes can be read, as the player will have to.
bool readable(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char bytes[4096];
  DWORD got = 0;
  return ::ReadFile(file.get(), bytes, sizeof bytes, &got, nullptr) != FALSE;
}

}  // namespace

// One file of a run, from its listing to its record.
struct Slot {
  std::wstring path;
  std::string videoPath;  // the ANSI path the record keeps
  std::optional<PassedOver> passedOver;
  std::string thumbnailPath, name;
  bool ready = false;  // settled by the listing or by a capture
};

struct VideoAdding::Job {
  HWND window = nullptr;
  std::vector<std::wstring> paths;
  std::unordered_set<std::wstring> known;  // the library's files, by identity
  std::atomic<bool> cancelled{false};

  std::mutex lock;  // guards what follows
  std::vector<Slot> slots;
  bool listed = false;
  bool ended = false;  // every thread is done
  size_t appended = 0; // slots the window thread has settled

  void post() const { ::PostMessageW(window, kVideoAddingMessage, 0, 0); }
  void run();
  void capture(std::atomic<size_t>& next);
};

void VideoAdding::Job::run() {
  std::vector<Slot> listing;
  for (std::wstring& file : filesUnder(paths)) {
    if (cancelled) break;
    Slot slot;
    slot.path = std::move(file);
    if (!hasExtension(slot.path, videoExtensions())) {
      slot.passedOver = PassedOver::NotAVideo;
    } else if (!known.insert(fileIdentity(slot.path)).second) {
      slot.passedOver = PassedOver::AlreadyThere;
    } else {
      const AnsiPath ansi = ansiPathOf(slot.path);
      // A name longer than the add dialog can hand over is refused there too.
      if (ansi.problem != AnsiPathProblem::None || slot.path.size() >= kSingleFileBufferSize)
        slot.passedOver = PassedOver::NameNotStorable;
      slot.videoPath = ansi.path;
    }
    slot.ready = slot.passedOver.has_value();
    listing.push_back(std::move(slot));
  }
  {
    const std::lock_guard hold(lock);
    slots = std::move(listing);
    listed = true;
  }
  post();

  std::atomic<size_t> next{0};
  std::vector<std::thread> workers;
  for (unsigned i = 0; i < workerCount(); ++i) workers.emplace_back([this, &next] { capture(next); });
  for (std::thread& worker : workers) worker.join();
  {
    const std::lock_guard hold(lock);
    ended = true;
  }
  post();
}

void VideoAdding::Job::capture(std::atomic<size_t>& next) {
  PatternMatcher matcher;  // COM on this thread, for the answer's pattern
  const size_t count = slots.size();  // fixed once listed
  for (size_t i = next++; i < count && !cancelled; i = next++) {
    std::wstring path;
    std::string videoPath;
    {
      const std::lock_guard hold(lock);
      if (slots[i].ready) continue;
      path = slots[i].path;
      videoPath = slots[i].videoPath;
    }
    std::optional<ThumbnailAnswer> thumbnail;
    if (readable(path))
      if (const std::optional<std::string> answer = capturedAnswer(videoPath))
        thumbnail = readThumbnailAnswer(matcher, *answer);
    {
      const std::lock_guard hold(lock);
      Slot& slot = slots[i];
      if (thumbnail) {
        slot.thumbnailPath = std::move(thumbnail->thumbnailPath);
        slot.name = std::move(thumbnail->name);
      } else {
        slot.passedOver = PassedOver::CannotRead;
      }
      slot.ready = true;
    }
    post();
  }
}

const std::vector<std::string>& videoExtensions() {
  static const std::vector<std::string> extensions = filterExtensions(kVideoFilter);
  return extensions;
}

VideoAdding::VideoAdding(VideoLibrary& library, const OwnedWindow& libraryWindow,
                         std::function<void(int countBefore)> added)
    : library_(library), window_(libraryWindow), added_(std::move(added)) {}

VideoAdding::~VideoAdding() {
  if (job_) job_->cancelled = true;
  if (lister_.joinable()) lister_.join();
}

void VideoAdding::add(std::vector<std::wstring> paths) {
  waiting_.insert(waiting_.end(), std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
  if (!job_) startNext();
}

void VideoAdding::cancel() {
  if (!job_) return;
  job_->cancelled = true;
  waiting_.clear();
  // What is captured but not yet appended is not added: the end comes with the next message.
  job_->post();
}

void VideoAdding::waitUntilDone() {
  MSG message{};
  while (job_ && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  // A quit asked for meanwhile is the message loop's to see.
  if (message.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(message.wParam));
}

bool VideoAdding::deliver(UINT message, WPARAM wParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kCancelAddingButtonId && HIWORD(wParam) == BN_CLICKED) {
    cancel();
    return true;
  }
  if (message == WM_TIMER && wParam == kWriteRetryTimer) {
    ::KillTimer(window_.handle, kWriteRetryTimer);
    waitingToWrite_ = false;
    if (job_) appendReady();
    return true;
  }
  if (message != kVideoAddingMessage) return false;
  if (job_) appendReady();
  return true;
}

void VideoAdding::startNext() {
  if (waiting_.empty() || !window_.handle) return;
  job_ = std::make_shared<Job>();
  job_->window = window_.handle;
  job_->paths = std::exchange(waiting_, {});
  // Files the library holds already, also under another spelling, are not added again.
  std::vector<std::string> held = library_.videoPaths;
  lister_ = std::thread([job = job_, held = std::move(held)] {
    for (const std::string& path : held) job->known.insert(fileIdentity(ansiToWide(path)));
    job->run();
  });
  showAddingProgress(window_.handle, 0, 0);
}

void VideoAdding::appendReady() {
  // A message box of an append lets messages in: they find the work in hand.
  if (appending_ || waitingToWrite_) return;
  appending_ = true;
  Job& job = *job_;
  const auto until = std::chrono::steady_clock::now() + kAppendSlice;
  std::unique_lock hold(job.lock);
  while (!job.cancelled && job.appended < job.slots.size() && job.slots[job.appended].ready) {
    if (std::chrono::steady_clock::now() >= until) {
      job.post();  // the rest after the messages waiting now
      break;
    }
    Slot slot = job.slots[job.appended];
    hold.unlock();
    if (!slot.passedOver) {
      const int countBefore = library_.videoCount;
      const LibraryWrite written = appendLibraryRecord(slot.videoPath, slot.thumbnailPath, slot.name);
      if (written != LibraryWrite::Written && ++failedWrites_ < kWriteTries) {
        // Another program may hold the file for a moment (a virus scanner,
        // an editor reading it): this record is tried again shortly.
        ::SetTimer(window_.handle, kWriteRetryTimer, kWriteRetryDelayMs, nullptr);
        waitingToWrite_ = true;
        hold.lock();
        break;
      }
      failedWrites_ = 0;
      if (tellIfRefused(written, LibraryChange::Add)) {
        deleteThumbnailIfUnused(slot.thumbnailPath, library_.thumbnailPaths);
        cancel();
      } else {
        library_.videoPaths.push_back(slot.videoPath);
        library_.thumbnailPaths.push_back(slot.thumbnailPath);
        library_.videoNames.push_back(slot.name);
        library_.videoCount = static_cast<int>(library_.videoPaths.size());
        insertLibraryListItem(window_.handle, library_.videoCount - 1, slot.thumbnailPath, slot.name);
        if (added_) added_(countBefore);
      }
    }
    hold.lock();
    ++job.appended;
  }
  const bool listed = job.listed;
  const size_t done = job.appended, total = job.slots.size();
  const bool ended = job.ended;
  hold.unlock();
  appending_ = false;
  if (listed) showAddingProgress(window_.handle, static_cast<int>(done), static_cast<int>(total));
  if (ended && (job.cancelled || done == total)) finish();
}

void VideoAdding::finish() {
  const std::shared_ptr<Job> job = std::exchange(job_, nullptr);
  lister_.join();  // it has ended: only its return is left
  hideAddingProgress(window_.handle);
  int added = 0;
  std::vector<std::pair<PassedOver, std::wstring>> passedOver;
  for (size_t i = 0; i < job->slots.size(); ++i) {
    const Slot& slot = job->slots[i];
    if (i >= job->appended) {
      // Captured for a run that was cancelled: its picture goes unless a record uses it.
      if (slot.ready && !slot.passedOver) deleteThumbnailIfUnused(slot.thumbnailPath, library_.thumbnailPaths);
      continue;
    }
    if (slot.passedOver) passedOver.emplace_back(*slot.passedOver, slot.path);
    else ++added;
  }
  tellAddSummary(window_.handle, added, passedOver);
  startNext();
}

}  // namespace qova
