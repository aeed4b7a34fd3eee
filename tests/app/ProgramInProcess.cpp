#include "tests/app/ProgramInProcess.h"

#include <algorithm>

#include "app/Settings.h"
#include "app/Wallpaper.h"
#include "engines/ExuiBinding.h"
#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "shell/Layouts.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/support/TestProcess.h"

namespace qova::test {

namespace {

template <typename Function>
Function recordingExport(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("APlayerCaller.dll"), name)));
}

}  // namespace

std::string recordingLog() {
  auto log = recordingExport<const char* (*)()>("Recording_Log");
  return log ? log() : "";
}

void fireEngineEvent(int32_t code, int32_t parameter) {
  if (auto fire = recordingExport<int32_t (*)(int32_t, int32_t)>("Recording_FireEvent")) fire(code, parameter);
}

void ProgramInProcess::SetUp() {
  ASSERT_TRUE(shell.ready()) << shell.logText();
  ::DeleteFileA(settingsFilePath().c_str());
  const char* names[] = {"海边", "城市", "雪山"};
  std::string library;
  for (int i = 0; i < 3; ++i) {
    videos.push_back(programFile(std::string(names[i]) + ".mp4"));
    thumbnails.push_back(programFile(std::string(names[i]) + ".png"));
    ASSERT_TRUE(writeWholeFile(videos.back(), "stands for a video"));
    const exui::Bytes png = encodePicture(solid(320, 180, kThumbnailColours[i]), PictureType::Png);
    ASSERT_TRUE(writeWholeFile(thumbnails.back(), std::string(png.begin(), png.end())));
    library += libraryRecord(videos.back(), thumbnails.back(), names[i]);
  }
  ASSERT_TRUE(writeWholeFile(libraryFilePath(), library));
}

void ProgramInProcess::start(const std::string& settings) {
  if (!settings.empty()) writeWholeFile(settingsFilePath(), settings);
  program = std::make_unique<Program>();
  mark();
  ASSERT_TRUE(program->start());
  mainWindow = program->mainWindow.handle;
  libraryWindow = program->libraryWindow.handle;
  ASSERT_NE(libraryWindow, nullptr);
  runQueuedMessages();  // what start-up posted: the first open's return
}

void ProgramInProcess::TearDown() {
  if (program) stopWallpaper(program->screens);
  program.reset();
  pumpMessagesFor(std::chrono::milliseconds(100));
  // MainWindow's end asked the message loop to end; this test's loop goes on.
  MSG quit{};
  ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  ::DeleteFileA(settingsFilePath().c_str());
  ::DeleteFileA(libraryFilePath().c_str());
  for (const auto& file : videos) ::DeleteFileA(file.c_str());
  for (const auto& file : thumbnails) ::DeleteFileA(file.c_str());
}

void ProgramInProcess::mark() { mark_ = recordingLog().size(); }

std::string ProgramInProcess::callsSinceMark() const {
  const std::string log = recordingLog();
  const std::string calls = mark_ <= log.size() ? log.substr(mark_) : log;
  std::string kept;
  for (size_t at = 0; at < calls.size();) {
    const size_t end = std::min(calls.find('\n', at), calls.size() - 1) + 1;
    if (calls.compare(at, 19, "APlayer_GetConfigA(") != 0) kept += calls.substr(at, end - at);
    at = end;
  }
  return kept;
}

void ProgramInProcess::endPlayingFile() {
  runQueuedMessages();
  program->handlePlayerEvent(kAPlayerEventFileEnded, 0);
  runQueuedMessages();
}

void ProgramInProcess::runQueuedMessages() {
  MSG message{};
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

std::string ProgramInProcess::engineCall(const std::string& name, const std::string& argument) const {
  return name + "(" + std::to_string(program->screens.primary().handle()) + (argument.empty() ? "" : "," + argument) +
         ")\n";
}

void ProgramInProcess::showLibraryWindow() {
  ::SendMessageA(libraryWindow, 11685, 1, WM_LBUTTONUP);
  ASSERT_TRUE(settleUntil([&] { return ::IsWindowVisible(libraryWindow) != FALSE; }));
  ::SetWindowPos(libraryWindow, HWND_TOPMOST, 100, 60, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ::UpdateWindow(libraryWindow);
  runQueuedMessages();
}

HWND ProgramInProcess::libraryList() const { return controlByName(libraryWindow, kLibraryListName); }

POINT ProgramInProcess::libraryItemMiddle(int index) const {
  const RECT cell = itemRect(controlOf(libraryList()), index);
  POINT point{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
  ::ClientToScreen(libraryList(), &point);
  return point;
}

bool ProgramInProcess::settleUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  return waitUntil(condition, timeout);
}

}  // namespace qova::test
