// Prints how long loading the library takes for 1,000, 10,000 and 100,000
// records through the system's expression object and through our own matcher,
// and how long qova.exe takes from its start to the first APlayer_OpenA with
// 1,000 entries. A benchmark: it prints figures and asserts nothing.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "tests/support/ProgramFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string libraryOf(int records, const std::string& video) {
  std::string bytes;
  for (int i = 0; i < records; ++i)
    bytes += qova::libraryRecord(video, "C:\\Users\\用户\\缩略图\\视频" + std::to_string(i) + ".jpg",
                                 "我的视频 " + std::to_string(i));
  return bytes;
}

void benchLoad() {
  const std::string video = qova::programFile("library_bench.exe");
  std::printf("%-10s %-12s %12s %12s\n", "records", "bytes", "system (s)", "own (s)");
  for (int records : {1000, 10000, 100000}) {
    const std::string bytes = libraryOf(records, video);
    qova::writeWholeFile(qova::libraryFilePath(), bytes);
    double seconds[2] = {};
    for (bool own : {false, true}) {
      qova::PatternMatcher::preferOwnEngine(own);
      std::vector<std::string> paths, thumbnails, names;
      const auto start = Clock::now();
      const int loaded = qova::loadLibrary(paths, thumbnails, names);
      seconds[own ? 1 : 0] = secondsSince(start);
      if (loaded != records) std::printf("  (loaded %d of %d)\n", loaded, records);
    }
    std::printf("%-10d %-12zu %12.3f %12.3f\n", records, bytes.size(), seconds[0], seconds[1]);
  }
  qova::PatternMatcher::preferOwnEngine(false);
  ::DeleteFileA(qova::libraryFilePath().c_str());
}

void benchStartUp() {
  qova::test::ProgramFolder program;
  const std::string video = program.makeVideoFile("video.mp4");
  std::vector<qova::test::ProgramFolder::Entry> entries(1000, {video, "thumb.jpg", "name"});
  program.writeLibrary(entries);
  program.writeSettings("[程序设置]\r\n窗体显示=1\r\n");
  const auto start = Clock::now();
  program.start();
  if (program.waitForEngineCall("APlayer_OpenA(", 0, std::chrono::seconds(60)))
    std::printf("qova.exe start to first APlayer_OpenA, 1,000 entries: %.3f s\n", secondsSince(start));
  else
    std::printf("qova.exe never opened a file\n");
}

}  // namespace

int main() {
  benchLoad();
  benchStartUp();
  return 0;
}
