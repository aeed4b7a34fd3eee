#include "runtime/LogFiles.h"

#include <cstdio>

namespace qova {

std::string logFileName(int generation) {
  if (generation <= 0) return kLogFileName;
  return "qova." + std::to_string(generation) + ".log";
}

bool logNeedsRotation(std::uint64_t fileSize, std::size_t lineSize, std::uint64_t limit) {
  return fileSize > 0 && fileSize + lineSize > limit;
}

std::vector<std::pair<std::string, std::string>> logRotationMoves(int kept) {
  std::vector<std::pair<std::string, std::string>> moves;
  for (int generation = kept - 1; generation >= 0; --generation)
    moves.emplace_back(logFileName(generation), logFileName(generation + 1));
  return moves;
}

std::string formatLogLine(const LogTime& time, std::string_view text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", time.year, time.month, time.day,
                time.hour, time.minute, time.second, time.millisecond);
  std::string line = stamp;
  for (const char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
  line += "\r\n";
  return line;
}

void LogTail::add(std::string line) {
  if (capacity_ == 0) return;
  if (lines_.size() == capacity_) lines_.pop_front();
  lines_.push_back(std::move(line));
}

std::string LogTail::text() const {
  std::string all;
  for (const std::string& line : lines_) all += line;
  return all;
}

}  // namespace qova
