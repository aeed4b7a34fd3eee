#pragma once
// The diagnostic log's files, as plain arithmetic: "qova.log" is written now;
// when the next line would take it past kLogFileLimit bytes it becomes
// "qova.1.log", the older ones move up one ("qova.1.log" to "qova.2.log",
// ...) and the oldest kept one, "qova.3.log", is replaced. Also the line
// format, and the last lines kept in memory for a crash report.
// Platform-free.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qova {

constexpr std::uint64_t kLogFileLimit = 1024 * 1024;
constexpr int kLogFilesKept = 3;  // besides the one written now
constexpr const char* kLogFileName = "qova.log";

// "qova.log" for generation 0, "qova.<n>.log" for the older ones.
std::string logFileName(int generation);

// Whether a file of `fileSize` bytes must be rotated before a line of
// `lineSize` bytes is appended: never while it is empty, so that a line
// longer than the limit still gets a file of its own.
bool logNeedsRotation(std::uint64_t fileSize, std::size_t lineSize, std::uint64_t limit = kLogFileLimit);

// The renames that rotate the files, (from, to), in the order they must be
// made: the oldest first, so that each target is free (the oldest kept file
// is replaced).
std::vector<std::pair<std::string, std::string>> logRotationMoves(int kept = kLogFilesKept);

// The wall-clock time of a line.
struct LogTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// "2026-12-08 23:40:01.123 <text>\r\n"; line breaks inside `text` become spaces,
// so that every event stays one line.
std::string formatLogLine(const LogTime& time, std::string_view text);

// The last lines written, at most `capacity` of them.
class LogTail {
 public:
  explicit LogTail(std::size_t capacity) : capacity_(capacity) {}
  void add(std::string line);
  // The kept lines, oldest first, joined.
  std::string text() const;

 private:
  std::size_t capacity_;
  std::deque<std::string> lines_;
};

}  // namespace qova
