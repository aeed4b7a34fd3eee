// Playback through the engine as the program uses it: a child window, files
// opened one after another from the end-of-file event, pause and play.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <cctype>
#include <string>

#include "tests/outside/aplayer/PlayerFixture.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

constexpr PlayerEvent kFileEnded{kAPlayerEventFileEnded, 0};

class APlayerPlayback : public PlayerFixture {
 protected:
  // An engine in a child window of a top-level window of the test's own.
  int32_t createChildEngine() {
    parent_ = createParentWindow(420, 60, 400, 300);
    return parent_ ? createEngine(parent_, 20, 10, 320, 240) : 0;
  }

  HWND parent_ = nullptr;
};

TEST_F(APlayerPlayback, ChildWindowSitsAtTheRectangleAndPlays) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  HWND window = api.getWindow(engine);
  ASSERT_TRUE(::IsWindow(window));
  EXPECT_EQ(::GetParent(window), parent_);
  const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(::IsWindowVisible(window));
  RECT placed{};
  ::GetWindowRect(window, &placed);
  ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, 20);
  EXPECT_EQ(placed.top, 10);
  EXPECT_EQ(placed.right - placed.left, 320);
  EXPECT_EQ(placed.bottom - placed.top, 240);
  EXPECT_EQ(api.getState(engine), kAPlayerStateReady);

  ASSERT_TRUE(open(engine, "clip_testsrc.mp4"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  const int32_t first = api.getPosition(engine);
  EXPECT_TRUE(waitUntil([&] { return api.getPosition(engine) > first; }, 10s)) << "the position advances while playing";
  EXPECT_NEAR(api.getDuration(engine), 2000, 150);
  EXPECT_TRUE(waitUntil([&] { return api.getVideoWidth(engine) == 320; }, 3s));
  EXPECT_EQ(api.getVideoHeight(engine), 240);
  EXPECT_EQ(api.getBufferProgress(engine), 100);
}

TEST_F(APlayerPlayback, EndEventComesOncePerFileAndTheNextFileOpensFromIt) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  const DWORD testThread = ::GetCurrentThreadId();
  int opensFromHandler = 0;
  int32_t openResult = kAPlayerFailed;
  DWORD handlerThread = 0;
  setEventReaction([&](PlayerEvent event) {
    if (event != kFileEnded) return;
    handlerThread = ::GetCurrentThreadId();
    if (opensFromHandler++ == 0) openResult = api.open(engine, mediaFile("clip_short.mp4").c_str());
  });

  ASSERT_TRUE(open(engine, "clip_testsrc.mp4"));
  ASSERT_TRUE(waitForEvents(kFileEnded, 2)) << "both files end";
  EXPECT_EQ(openResult, kAPlayerOk);
  EXPECT_EQ(handlerThread, testThread) << "handler 2 runs on the thread that created the engine";
  EXPECT_EQ(api.getState(engine), kAPlayerStateReady);
  // A third file played to its end after them: a second end event of either would show before its own.
  ASSERT_TRUE(open(engine, "clip_short.mp4"));
  ASSERT_TRUE(waitForEvents(kFileEnded, 3));
  EXPECT_EQ(countEvents(kFileEnded), 3) << "exactly one end event per file";

  // Each file went Opening -> Playing -> Ready, then ended.
  const std::vector<PlayerEvent> perFile{{kAPlayerEventStateChanged, kAPlayerStateOpening},
                                         {kAPlayerEventStateChanged, kAPlayerStatePlaying},
                                         {kAPlayerEventStateChanged, kAPlayerStateReady},
                                         kFileEnded};
  std::vector<PlayerEvent> expected;
  for (int file = 0; file < 3; ++file) expected.insert(expected.end(), perFile.begin(), perFile.end());
  EXPECT_EQ(contractEvents(), expected);
}

TEST_F(APlayerPlayback, PauseHoldsThePositionAndPlayResumes) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(open(engine, "clip_testsrc.mp4"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  ASSERT_TRUE(waitUntil([&] { return api.getPosition(engine) >= 300; }, 10s));

  ASSERT_EQ(api.pause(engine), kAPlayerOk);
  EXPECT_EQ(api.getState(engine), kAPlayerStatePaused);
  // Nothing of a paused engine moves to wait for: fixed stretches, the first for the frame on its way.
  pumpMessagesFor(200ms);
  const int32_t paused = api.getPosition(engine);
  pumpMessagesFor(800ms);
  EXPECT_LE(api.getPosition(engine) - paused, 40) << "the position holds while paused";
  EXPECT_EQ(countEvents(kFileEnded), 0);

  ASSERT_EQ(api.play(engine), kAPlayerOk);
  EXPECT_EQ(api.getState(engine), kAPlayerStatePlaying);
  EXPECT_TRUE(waitUntil([&] { return api.getPosition(engine) > paused + 200; }, 5s));
  EXPECT_TRUE(waitForEvents(kFileEnded, 1)) << "the file still plays to its end";

  // The pause belongs to the file: the next one opened plays.
  ASSERT_TRUE(open(engine, "clip_testsrc.mp4"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  ASSERT_EQ(api.pause(engine), kAPlayerOk);
  ASSERT_TRUE(open(engine, "clip_short.mp4"));
  EXPECT_TRUE(waitForEvents(kFileEnded, 2)) << "a file opened while another was paused plays";
}

// Paused before the platform confirmed playback, the file stops within its
// first moments and plays on when resumed.
TEST_F(APlayerPlayback, PausedWhileOpeningItHoldsAndPlaysOnceResumed) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(open(engine, "clip_moving.mp4"));
  ASSERT_EQ(api.pause(engine), kAPlayerOk);
  EXPECT_EQ(api.getState(engine), kAPlayerStatePaused);
  pumpMessagesFor(1000ms);  // a paused engine has nothing that moves to wait for
  const int32_t pausedAt = api.getPosition(engine);
  EXPECT_LT(pausedAt, 1500) << "it stopped within its first moments";
  pumpMessagesFor(300ms);
  EXPECT_EQ(api.getPosition(engine), pausedAt) << "paused, it holds";
  EXPECT_EQ(api.getState(engine), kAPlayerStatePaused);

  ASSERT_EQ(api.play(engine), kAPlayerOk);
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  EXPECT_TRUE(waitUntil([&] { return api.getPosition(engine) > pausedAt + 300; }, 5s))
      << "resumed, it plays on";
}

TEST_F(APlayerPlayback, PlayAfterTheEndPlaysTheFileAgain) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  EXPECT_EQ(api.play(engine), kAPlayerFailed) << "nothing open";
  ASSERT_TRUE(open(engine, "clip_short.mp4"));
  ASSERT_TRUE(waitForEvents(kFileEnded, 1));
  ASSERT_EQ(api.play(engine), kAPlayerOk);
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  EXPECT_LT(api.getPosition(engine), 700) << "from its start";
  EXPECT_TRUE(waitForEvents(kFileEnded, 2)) << "the second run ends with its own event";
}

TEST_F(APlayerPlayback, CloseStopsPlaybackWithoutAnEndEvent) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(open(engine, "clip_testsrc.mp4"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  ASSERT_EQ(api.close(engine), kAPlayerOk);
  EXPECT_EQ(api.getState(engine), kAPlayerStateReady);
  EXPECT_EQ(api.getBufferProgress(engine), 0);
  EXPECT_EQ(api.getDuration(engine), 0);
  EXPECT_EQ(api.pause(engine), kAPlayerFailed) << "nothing to pause";
  pumpMessagesFor(2500ms);  // longer than the closed clip: an end of it still to come would be here
  EXPECT_EQ(countEvents(kFileEnded), 0);
  EXPECT_TRUE(::IsWindow(api.getWindow(engine))) << "the window stays";
}

class APlayerFormats : public APlayerPlayback, public ::testing::WithParamInterface<const char*> {};

TEST_P(APlayerFormats, FilePlaysToItsEnd) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(open(engine, GetParam()));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  EXPECT_GT(api.getDuration(engine), 500);
  ASSERT_TRUE(waitForEvents(kFileEnded, 1));
  EXPECT_EQ(api.getState(engine), kAPlayerStateReady);
}

// Named by their files ("clip_short_mp4"), so that a filter picks a file, not a place in the list.
INSTANTIATE_TEST_SUITE_P(SampleMedia, APlayerFormats,
                         ::testing::Values("clip_short.mp4", "clip_faststart.mp4", "clip_wide.mp4",
                                           "clip.wmv", "clip_mjpeg.avi", "tone.mp3", "tone.wav"),
                         [](const ::testing::TestParamInfo<const char*>& row) {
                           std::string name = row.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST_F(APlayerPlayback, SoundOnlyFileHasNoVideoSize) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(open(engine, "tone.mp3"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  EXPECT_TRUE(waitUntil([&] { return api.getPosition(engine) > 0; }, 10s));
  EXPECT_EQ(api.getVideoWidth(engine), 0);
  EXPECT_EQ(api.getVideoHeight(engine), 0);
}

// Without a sound device a file of sound alone has nothing to play: it is
// refused at once or reported unplayable, never left hanging. (Run by the
// entry aplayer_without_sound_device, whose environment hides every device.)
TEST_F(APlayerPlayback, WithoutASoundDeviceASoundOnlyFileIsReportedUnplayable) {
  ASSERT_EQ(::waveOutGetNumDevs(), 0u) << "the entry's environment should leave Wine no sound device";
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  const int32_t result = api.open(engine, mediaFile("tone.wav").c_str());
  if (result == kAPlayerOk) {
    EXPECT_TRUE(waitForEvents({kAPlayerEventOpenFailed, 0}, 1)) << "reported unplayable";
  } else {
    EXPECT_EQ(result, kAPlayerCannotOpen);
  }
  EXPECT_EQ(api.getState(engine), kAPlayerStateReady);
  EXPECT_EQ(countEvents(kFileEnded), 0);
}

TEST_F(APlayerPlayback, PathInTheAnsiCodePageOpens) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  TempFolder folder;
  // Compiled as GBK bytes: the program hands the engine such paths.
  const std::string path = folder.file("壁纸 视频.mp4");
  ASSERT_TRUE(copyFileTo(mediaFile("clip_short.mp4"), path))
      << "this system cannot name a file in Chinese (under Wine: no zh_CN.UTF-8 locale; run scripts/setup)";
  ASSERT_EQ(api.open(engine, path.c_str()), kAPlayerOk);
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  ASSERT_TRUE(waitForEvents(kFileEnded, 1));
}

TEST_F(APlayerPlayback, VolumeAndSettingsAreKeptAndReachThePlayer) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  EXPECT_EQ(api.getVolume(engine), 100);
  EXPECT_EQ(api.setVolume(engine, 150), kAPlayerOk);
  EXPECT_EQ(api.getVolume(engine), 100);
  EXPECT_EQ(api.setVolume(engine, -5), kAPlayerOk);
  EXPECT_EQ(api.getVolume(engine), 0);
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigKeepAspect), "1");
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigScaling), kAPlayerScalingFit);
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigMute), "0");
  EXPECT_EQ(api.getConfig(engine, 99), nullptr);
  EXPECT_EQ(api.setConfig(engine, 99, "1"), kAPlayerFailed);
  EXPECT_EQ(api.setConfig(engine, kAPlayerConfigMute, "yes"), kAPlayerFailed);
  EXPECT_EQ(api.setConfig(engine, kAPlayerConfigMute, nullptr), kAPlayerFailed);
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigMute), "0");
  const char* version = api.getVersion(engine);
  ASSERT_NE(version, nullptr);
  EXPECT_GT(std::string(version).size(), 0u);

  // Settings made before a file and while it plays both reach it; it plays on and ends.
  ASSERT_EQ(api.setVolume(engine, 30), kAPlayerOk);
  ASSERT_EQ(api.setConfig(engine, kAPlayerConfigMute, "1"), kAPlayerOk);
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigMute), "1");
  ASSERT_TRUE(open(engine, "tone.wav"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  EXPECT_EQ(api.setConfig(engine, kAPlayerConfigMute, "0"), kAPlayerOk);
  EXPECT_EQ(api.setVolume(engine, 75), kAPlayerOk);
  EXPECT_EQ(api.getVolume(engine), 75);
  EXPECT_TRUE(waitForEvents(kFileEnded, 1));
}

TEST_F(APlayerPlayback, SeekingMovesThePositionAndPlaysOn) {
  const int32_t engine = createChildEngine();
  ASSERT_NE(engine, 0);
  EXPECT_EQ(api.setPosition(engine, 500), kAPlayerFailed) << "nothing open";
  ASSERT_TRUE(open(engine, "clip_testsrc.mp4"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  ASSERT_EQ(api.setPosition(engine, 1500), kAPlayerOk);
  EXPECT_TRUE(waitUntil([&] { return api.isSeeking(engine) == 0; }, 3s));
  EXPECT_GE(api.getPosition(engine), 1400);
  EXPECT_TRUE(waitForEvents(kFileEnded, 1));
}

}  // namespace
}  // namespace qova::test
