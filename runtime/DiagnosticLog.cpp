#include "runtime/DiagnosticLog.h"

#include <windows.h>

#include <atomic>
#include <utility>

namespace qova {
namespace {

std::atomic<DiagnosticLog*> gProcessLog{nullptr};

LogTime now() {
  SYSTEMTIME time{};
  ::GetLocalTime(&time);
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

}  // namespace

DiagnosticLog::DiagnosticLog(std::string folder) : folder_(std::move(folder)) {
  writer_ = std::thread([this] { writeQueued(); });
  gProcessLog = this;
}

DiagnosticLog::~DiagnosticLog() {
  DiagnosticLog* self = this;
  gProcessLog.compare_exchange_strong(self, nullptr);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  wake_.notify_one();
  writer_.join();
}

void DiagnosticLog::write(std::string_view text) {
  std::string line = formatLogLine(now(), text);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tail_.add(line);
    if (stopped_ || ending_) return;
    if (queue_.size() >= kQueueLimit) {
      ++dropped_;
      return;
    }
    if (dropped_ != 0) {
      queue_.push_back(formatLogLine(now(), std::to_string(dropped_) + " lines dropped: the log fell behind"));
      dropped_ = 0;
    }
    queue_.push_back(std::move(line));
  }
  wake_.notify_one();
}

std::string DiagnosticLog::tail() {
  std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
  return lock.owns_lock() ? tail_.text() : std::string();
}

void DiagnosticLog::writeQueued() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return ending_ || !queue_.empty(); });
    if (queue_.empty()) return;  // ending, with everything written
    std::deque<std::string> lines = std::exchange(queue_, {});
    lock.unlock();
    bool written = true;
    for (const std::string& line : lines)
      if (!(written = append(line))) break;
    lock.lock();
    if (!written) {
      stopped_ = true;
      queue_.clear();
    }
  }
}

bool DiagnosticLog::openFile() {
  ::CreateDirectoryA(folder_.c_str(), nullptr);
  const std::string path = folder_ + "\\" + kLogFileName;
  HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  file_.reset(file);
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file, &size);
  fileSize_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

bool DiagnosticLog::append(const std::string& line) {
  if (!file_ && !openFile()) return false;
  if (logNeedsRotation(fileSize_, line.size())) {
    file_.reset();
    for (const auto& [from, to] : logRotationMoves())
      ::MoveFileExA((folder_ + "\\" + from).c_str(), (folder_ + "\\" + to).c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!openFile()) return false;
  }
  DWORD written = 0;
  if (!::WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) || written != line.size())
    return false;
  fileSize_ += written;
  return true;
}

void logLine(std::string_view text) {
  if (DiagnosticLog* log = gProcessLog) log->write(text);
}

DiagnosticLog* processLog() { return gProcessLog; }

}  // namespace qova
