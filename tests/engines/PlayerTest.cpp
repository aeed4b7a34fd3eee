// The wrapper's exact calls, through the recording stand-in of the engine DLL
// that sits beside this test program.
#include "engines/Player.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "runtime/ProgramDirectory.h"
#include "tests/fixtures/recording_aplayer/RecordingEngine.h"

namespace {

using qova::Player;

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

// Runs first: its first call loads the engine, which Recording reads from.
TEST(Player, PassesHandleZeroBeforeCreateAndItsOwnHandleAfterwards) {
  std::optional<Recording> recorded;
  {
    Player player;
    EXPECT_EQ(player.handle(), 0);
    player.open("C:\\v\\a.mp4");
    const Recording& recording = recorded.emplace();
    EXPECT_EQ(recording.log(), "APlayer_OpenA(0,C:\\v\\a.mp4)\n");
    recording.reset();

    const int32_t handle = player.create(nullptr, 0, 0, 320, 200, nullptr, someHandler);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(player.handle(), handle);
    const std::string h = std::to_string(handle);
    // Thirteen arguments, omitted handlers as 0.
    EXPECT_EQ(recording.log(), "APlayer_Create(0,0,0,320,200,0,fn,0,0,0,0,0,0)\n");
    recording.reset();

    Player other;
    player.play();
    other.pause();
    player.destroy();
    EXPECT_EQ(recording.log(), "APlayer_Play(" + h + ")\nAPlayer_Pause(0)\nAPlayer_Destroy(" + h + ")\n")
        << "each player passes its own handle";
    EXPECT_EQ(player.handle(), handle) << "destroy leaves the handle as it was";
    recording.reset();
  }
  EXPECT_EQ(recorded->log(), "") << "a destroyed engine is not destroyed again, one never created not at all";
}

TEST(Player, DestroysItsEngineWhenItGoes) {
  Recording recording;
  std::string h;
  {
    Player player;
    h = std::to_string(player.create(nullptr, 0, 0, 50, 50));
    recording.reset();
  }
  EXPECT_EQ(recording.log(), "APlayer_Destroy(" + h + ")\n");
}

// A created player whose calls the recording engine logs with its handle.
class CreatedPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    player.create(nullptr, 0, 0, 50, 50);
    recording.reset();
  }
  // "name(handle,arguments)\n" as the recording engine writes a call.
  std::string call(const std::string& name, const std::string& arguments = {}) const {
    return name + "(" + std::to_string(player.handle()) + (arguments.empty() ? "" : "," + arguments) + ")\n";
  }
  Player player;
  Recording recording;
};

TEST_F(CreatedPlayer, ForwardsEveryOperationWithItsArgumentsInOrder) {
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
            call("APlayer_SetConfigA", "7,value") + call("APlayer_GetVideoWidth") + call("APlayer_Close") +
                call("APlayer_GetState") + call("APlayer_GetDuration") + call("APlayer_GetPosition") +
                call("APlayer_SetPosition", "1234") + call("APlayer_GetVideoHeight") +
                call("APlayer_GetVolume") + call("APlayer_IsSeeking") + call("APlayer_GetBufferProgress") +
                call("APlayer_GetWindow"));
}

TEST_F(CreatedPlayer, SendsEightyForAVolumeOfZeroOrNone) {
  player.setVolume(0);
  player.setVolume();
  player.setVolume(1);
  player.setVolume(100);
  player.setVolume(-5);
  EXPECT_EQ(recording.log(), call("APlayer_SetVolume", "80") + call("APlayer_SetVolume", "80") +
                                 call("APlayer_SetVolume", "1") + call("APlayer_SetVolume", "100") +
                                 call("APlayer_SetVolume", "-5"));
}

TEST_F(CreatedPlayer, CopiesTextsAtOnceAndGivesEmptyTextForNull) {
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

TEST_F(CreatedPlayer, MovesTheEngineWindowThroughMoveWindow) {
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

std::string logoArgument(Player& player, const std::string& path) {
  Recording recording;
  recording.reset();
  player.setCustomLogo(path);
  std::string log = recording.log();
  auto comma = log.find(',');
  return log.substr(comma + 1, log.find(')') - comma - 1);
}

TEST_F(CreatedPlayer, CustomLogoPassesZeroForNoPathMissingFilesAndUndecodableData) {
  EXPECT_EQ(logoArgument(player, ""), "0");
  EXPECT_EQ(logoArgument(player, qova::programFile("no-such-logo.png")), "0");
  EXPECT_EQ(logoArgument(player, qova::programFile("images\\truncated.png")), "0");
  EXPECT_EQ(logoArgument(player, qova::programFile("images\\five-bytes.bmp")), "0");
  EXPECT_EQ(logoArgument(player, qova::programFile("images\\unknown.dat")), "0");
}

TEST_F(CreatedPlayer, CustomLogoDecodesEveryPictureFormatByItsLeadingBytes) {
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
