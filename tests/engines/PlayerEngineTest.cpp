// The wrapper's exact calls, through the recording stand-in of the engine DLL
// that sits beside this test program.
#include "engines/PlayerEngine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/ProgramDirectory.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"

namespace {

using qova::PlayerEngine;

class Recording {
 public:
  Recording() : module_(::GetModuleHandleA("APlayerCaller.dll")) {}
  std::string log() const { return call<const char* (*)()>("Recording_Log")(); }
  void reset() const { call<void (*)()>("Recording_Reset")(); }
  void setTextResult(const char* text) const {
    call<void (*)(const char*)>("Recording_SetTextResult")(text);
  }
  void scribble() const { call<void (*)()>("Recording_ScribbleTextResult")(); }

 private:
  template <typename Fn>
  Fn call(const char* name) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
  }
  HMODULE module_;
};

int32_t WINAPI someHandler(int32_t, int32_t) { return 0; }

// Runs first: the handle is process-wide and only create writes it.
TEST(PlayerEngine, PassesHandleZeroBeforeCreateAndTheCreatedHandleAfterwards) {
  PlayerEngine player;
  EXPECT_EQ(PlayerEngine::engineHandle(), 0);
  player.open("C:\\v\\a.mp4");
  Recording recording;
  EXPECT_EQ(recording.log(), "APlayer_OpenA(0,C:\\v\\a.mp4)\n");
  recording.reset();

  const int32_t handle = player.create(nullptr, 0, 0, 320, 200, nullptr, someHandler);
  EXPECT_EQ(handle, 1);
  EXPECT_EQ(PlayerEngine::engineHandle(), 1);
  // Thirteen arguments, omitted handlers as 0.
  EXPECT_EQ(recording.log(), "APlayer_Create(0,0,0,320,200,0,fn,0,0,0,0,0,0)\n");
  recording.reset();

  PlayerEngine copy = player;
  PlayerEngine other;
  copy.play();
  other.pause();
  player.destroy();
  EXPECT_EQ(recording.log(), "APlayer_Play(1)\nAPlayer_Pause(1)\nAPlayer_Destroy(1)\n");
  EXPECT_EQ(PlayerEngine::engineHandle(), 1) << "destroy leaves the handle as it was";
}

TEST(PlayerEngine, ForwardsEveryOperationWithItsArgumentsInOrder) {
  PlayerEngine player;
  Recording recording;
  recording.reset();
  player.setConfig(7, "value");
  player.getVideoWidth();
  player.close();
  player.getState();
  player.getDuration();
  player.getPosition();
  player.setPosition(1234);
  player.getVideoHeight();
  player.getVolume();
  player.isSeeking();
  player.getBufferProgress();
  player.getWindow();
  EXPECT_EQ(recording.log(),
            "APlayer_SetConfigA(1,7,value)\nAPlayer_GetVideoWidth(1)\nAPlayer_Close(1)\n"
            "APlayer_GetState(1)\nAPlayer_GetDuration(1)\nAPlayer_GetPosition(1)\n"
            "APlayer_SetPosition(1,1234)\nAPlayer_GetVideoHeight(1)\nAPlayer_GetVolume(1)\n"
            "APlayer_IsSeeking(1)\nAPlayer_GetBufferProgress(1)\nAPlayer_GetWindow(1)\n");
}

TEST(PlayerEngine, SendsEightyForAVolumeOfZeroOrNone) {
  PlayerEngine player;
  Recording recording;
  recording.reset();
  player.setVolume(0);
  player.setVolume();
  player.setVolume(1);
  player.setVolume(100);
  player.setVolume(-5);
  EXPECT_EQ(recording.log(),
            "APlayer_SetVolume(1,80)\nAPlayer_SetVolume(1,80)\nAPlayer_SetVolume(1,1)\n"
            "APlayer_SetVolume(1,100)\nAPlayer_SetVolume(1,-5)\n");
}

TEST(PlayerEngine, CopiesTextsAtOnceAndGivesEmptyTextForNull) {
  PlayerEngine player;
  Recording recording;
  recording.setTextResult(nullptr);
  EXPECT_EQ(player.getVersion(), "");
  EXPECT_EQ(player.getConfig(3), "");

  recording.setTextResult("2.5 版本");
  std::string version = player.getVersion();
  recording.scribble();
  EXPECT_EQ(version, "2.5 版本");
  std::string config = player.getConfig(4);
  recording.scribble();
  EXPECT_EQ(config, "2.5 版本");
}

TEST(PlayerEngine, MovesTheEngineWindowThroughMoveWindow) {
  PlayerEngine player;
  player.create(nullptr, 0, 0, 50, 50);
  HWND window = player.getWindow();
  ASSERT_TRUE(::IsWindow(window));
  EXPECT_NE(player.moveWindow(10, 20, 300, 150, 1), 0);
  RECT r{};
  ::GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 150);
}

std::string logoArgument(PlayerEngine& player, const std::string& path) {
  Recording recording;
  recording.reset();
  player.setCustomLogo(path);
  std::string log = recording.log();
  auto comma = log.find(',');
  return log.substr(comma + 1, log.find(')') - comma - 1);
}

TEST(PlayerEngine, CustomLogoPassesZeroForNoPathMissingFilesAndUndecodableData) {
  PlayerEngine player;
  EXPECT_EQ(logoArgument(player, ""), "0");
  EXPECT_EQ(logoArgument(player, qova::programFile("no-such-logo.png")), "0");
  EXPECT_EQ(logoArgument(player, qova::programFile("images\\truncated.png")), "0");
  EXPECT_EQ(logoArgument(player, qova::programFile("images\\five-bytes.bmp")), "0");
  EXPECT_EQ(logoArgument(player, qova::programFile("images\\unknown.dat")), "0");
}

TEST(PlayerEngine, CustomLogoDecodesEveryPictureFormatByItsLeadingBytes) {
  PlayerEngine player;
  for (const char* name : {"logo.bmp", "logo.jpg", "logo.png", "logo.gif", "logo.ico"}) {
    SCOPED_TRACE(name);
    std::string argument = logoArgument(player, qova::programFile(std::string("images\\") + name));
    ASSERT_NE(argument, "0");
    auto bitmap = reinterpret_cast<HBITMAP>(std::stoull(argument, nullptr, 16));
    BITMAP info{};
    ASSERT_EQ(::GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 16);
    ::DeleteObject(bitmap);
  }
}

}  // namespace
