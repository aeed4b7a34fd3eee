// Two short generated videos played by our real engine inside the
// desktop-shell stand-in: one after the other, then the first again.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Program.h"
#include "app/Wallpaper.h"
#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/TestProcess.h"

namespace {

using namespace std::chrono_literals;

qova::Program* gProgram = nullptr;

// Stands in for MainWindow: the engine's events and playback's own messages
// reach the program through it.
LRESULT CALLBACK mainWindowStandin(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == qova::kPlayerEventMessage && gProgram) {
    gProgram->handlePlayerEvent(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
    return 0;
  }
  if (gProgram && gProgram->playback.deliver(message, wParam)) return 0;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND createMainWindowStandin() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = mainWindowStandin;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "RealEnginePlaybackMain";
  ::RegisterClassA(&windowClass);
  return ::CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

TEST(RealEnginePlayback, TwoVideosPlayInTurnAndStartAgainAtTheFirst) {
  qova::test::ShellStandin shell;
  ASSERT_TRUE(shell.ready());
  const std::string first = qova::programFile("media\\clip_short.mp4");
  const std::string second = qova::programFile("media\\clip_testsrc.mp4");
  ASSERT_TRUE(qova::writeWholeFile(qova::libraryFilePath(), qova::libraryRecord(first, "", "1") +
                                                                qova::libraryRecord(second, "", "2")));
  qova::Program program;
  gProgram = &program;
  program.mainWindow.handle = createMainWindowStandin();
  ASSERT_TRUE(program.startWallpaper());
  HWND player = program.screens.primary().getWindow();
  EXPECT_EQ(::GetParent(player), shell.worker());
  EXPECT_EQ(program.library.currentIndex, 1);

  const auto& library = program.library;
  EXPECT_TRUE(qova::test::waitUntil([&] { return library.currentIndex == 2; }, 30s))
      << "the first video never ended";
  EXPECT_TRUE(qova::test::waitUntil([&] { return library.currentIndex == 1; }, 30s))
      << "playback did not start again at the first";
  EXPECT_TRUE(qova::test::waitUntil(
      [&] { return program.screens.primary().getState() == kAPlayerStatePlaying; }, 10s));

  qova::stopWallpaper(program.screens);
  EXPECT_FALSE(::IsWindow(player));
  ::DeleteFileA(qova::libraryFilePath().c_str());
  gProgram = nullptr;
}

}  // namespace
