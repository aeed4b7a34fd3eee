// Prints how long loading the library takes for 1,000, 10,000 and 100,000
// records through the system's expression object and through our own matcher,
// how long filling the library window's list with 1,000 entries takes (and
// how much of that is reading their thumbnails), how long the list's first
// paint takes (it decodes the thumbnails it shows), and how long qova.exe takes
// from its start to the first APlayer_OpenA with 1,000 entries, and how long
// the running qova.exe takes to add a folder of 500 clips handed to it by a
// second start (real thumbnails), with the longest time its window thread
// kept a message waiting meanwhile. A benchmark: it prints figures and
// asserts nothing.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/LibraryWindow.h"
#include "app/Program.h"
#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"
#include "tests/support/WindowThreadWatch.h"

namespace {

using Clock = std::chrono::steady_clock;

// This process's working set, in MB.
double workingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

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

// The list of the library window filled as at start-up: 1,000 entries, each
// with a thumbnail file of its own (the benchmarks' JPEG, 160x90).
void benchListFill() {
  const std::string thumbnail = qova::readWholeFile(qova::programFile("media\\bench_thumb.jpg"));
  if (thumbnail.empty()) {
    std::printf("library list: media\\bench_thumb.jpg missing (build qova_bench_media)\n");
    return;
  }
  constexpr int kEntries = 1000;
  qova::test::TempFolder folder("list_fill");
  qova::Program program;
  qova::VideoLibrary& library = program.library;
  for (int i = 0; i < kEntries; ++i) {
    const std::string picture = folder.file("thumb" + std::to_string(i) + ".jpg");
    qova::writeWholeFile(picture, thumbnail);
    library.videoPaths.push_back(qova::programFile("library_bench.exe"));
    library.thumbnailPaths.push_back(picture);
    library.videoNames.push_back("我的视频 " + std::to_string(i));
  }
  library.videoCount = kEntries;
  qova::createLibraryWindow(program.libraryWindow.handle, program.libraryWindowHandlers(), {});
  HWND window = program.libraryWindow.handle;

  const auto readStart = Clock::now();
  std::size_t bytes = 0;
  for (const std::string& path : library.thumbnailPaths) bytes += qova::readWholeFile(path).size();
  const double reading = secondsSince(readStart);
  const double memoryBefore = workingSetMb();
  const auto fillStart = Clock::now();
  qova::refillLibraryList(window, library);
  const double filling = secondsSince(fillStart);
  const double memoryAfter = workingSetMb();
  // The list decodes a thumbnail the first time its item is painted.
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  const auto paintStart = Clock::now();
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const double painting = secondsSince(paintStart);
  const double memoryShown = workingSetMb();
  std::printf("library list, %d entries with thumbnails: filled in %.3f s (reading the %zu thumbnail bytes "
              "alone takes %.3f s); first paint of the shown window %.3f s; working set %.1f MB before, "
              "%.1f MB filled, %.1f MB shown\n",
              kEntries, filling, bytes, reading, painting, memoryBefore, memoryAfter, memoryShown);
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

void benchAddingAFolder() {
  constexpr int kClips = 500;
  qova::test::ProgramFolder program;
  if (!program.copyFromBuild("screenshot.dll")) {
    std::printf("adding a folder: screenshot.dll missing\n");
    return;
  }
  const std::string clips = program.file("clips");
  ::CreateDirectoryA(clips.c_str(), nullptr);
  for (int i = 1; i <= kClips; ++i)
    if (!program.copyFromBuild("media\\clip_testsrc.mp4", "clips\\clip " + std::to_string(i) + ".mp4")) {
      std::printf("adding a folder: media\\clip_testsrc.mp4 missing (build qova_test_media)\n");
      return;
    }
  program.writeLibrary({{program.makeVideoFile("video.mp4"), "", "video"}});
  program.writeSettings("[程序设置]\r\n窗体显示=1\r\n");
  program.start();
  HWND libraryWindow = nullptr;
  qova::test::waitUntil([&] {
    libraryWindow = qova::test::findProcessWindow(program.process().id(), "QovaPopupWindow");
    return libraryWindow != nullptr && program.waitForEngineCall("APlayer_OpenA(", 0, std::chrono::seconds(0));
  }, std::chrono::seconds(60));
  if (!libraryWindow) {
    std::printf("adding a folder: qova.exe did not start\n");
    return;
  }
  qova::test::WindowThreadWatch watch(libraryWindow);
  const auto start = Clock::now();
  qova::test::TestProcess second(program.file("qova.exe"), "\"" + clips + "\"");
  HWND box = nullptr;
  const std::string summary = [&] {
    std::string text;
    qova::test::waitUntil([&] {
      text = qova::test::waitForMessageBoxText(program.process().id(), &box);
      return text.rfind("已添加", 0) == 0;
    }, std::chrono::seconds(900));
    return text;
  }();
  const double seconds = secondsSince(start);
  watch.stop();
  if (box) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  std::printf("adding a folder of %d clips (%u cores): %.1f s, %.1f files/s; the window thread's longest "
              "block %lld ms over %d round trips; \"%s\"\n",
              kClips, std::thread::hardware_concurrency(), seconds, kClips / seconds,
              static_cast<long long>(watch.longest().count()), watch.trips(),
              summary.substr(0, summary.find('\r')).c_str());
}

}  // namespace

int main() {
  benchLoad();
  benchListFill();
  benchStartUp();
  benchAddingAFolder();
  return 0;
}
