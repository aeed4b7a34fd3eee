// What the engine shows on the screen, read back from the screen, on each
// way frames reach it: the graphics card (the default) and GDI. Only a
// top-level player window can be checked so: under Wine, the video renderer's picture in
// a child window never reaches the screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "tests/outside/aplayer/PlayerFixture.h"
#include "tests/outside/aplayer/ScreenPixels.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

constexpr RECT kWholeWindow{0, 0, 320, 240};

// The presentation setting of each run, and the path the engine reports for it under Wine.
struct Path {
  const char* setting;
  const char* inUse;
};

class APlayerPicture : public PlayerFixture, public ::testing::WithParamInterface<Path> {
 protected:
  // A top-level player window on the path under test.
  int32_t createOnPath(int x, int y, int width, int height) {
    const int32_t engine = createEngine(nullptr, x, y, width, height);
    if (engine) {
      EXPECT_EQ(api.setConfig(engine, kAPlayerConfigPresentation, GetParam().setting), kAPlayerOk);
    }
    return engine;
  }
  // A top-level player window of 320 x 240 at a free spot of the screen.
  int32_t createPopup() { return createOnPath(60, 60, 320, 240); }

  // Opens the clip and waits until it plays on the path under test (the
  // card's device is made beside the first file, and takes over from GDI once ready).
  bool playOnPath(int32_t engine, const char* clip) {
    return open(engine, clip) && waitForState(engine, kAPlayerStatePlaying) && waitUntil([&] {
             return std::string(api.getConfig(engine, kAPlayerConfigPresentationInUse)) == GetParam().inUse;
           }, 30s);
  }

  // Captures the window, the engine's messages pumped between captures, until
  // `shows` holds for a capture or the deadline passes; the last capture. The
  // checks that follow look at the picture the engine arrived at, however
  // slowly a busy machine got there.
  ScreenImage screenWhen(int32_t engine, const std::function<bool(const ScreenImage&)>& shows,
                         std::chrono::milliseconds deadline = 15s) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    ScreenImage image;
    do {
      pumpMessagesFor(100ms);
      image = captureClientArea(api.getWindow(engine));
    } while (!shows(image) && std::chrono::steady_clock::now() < end);
    return image;
  }

  // The picture once it and the engine's position have stood still for five
  // captures in a row: a paused engine's last frame, drawn. (On a busy machine
  // the card's renderer may still be drawing what was queued before the pause.)
  ScreenImage settledScreen(int32_t engine) {
    ScreenImage previous = captureClientArea(api.getWindow(engine));
    int32_t position = api.getPosition(engine);
    int stillFor = 0;
    return screenWhen(engine, [&](const ScreenImage& now) {
      const int32_t at = api.getPosition(engine);
      stillFor = now.differenceFrom(previous) < 0.5 && at == position ? stillFor + 1 : 0;
      previous = now;
      position = at;
      return stillFor >= 4;
    });
  }

  // The picture once it differs from `before`: a playing engine's next frames.
  ScreenImage movedFrom(int32_t engine, const ScreenImage& before) {
    return screenWhen(engine, [&](const ScreenImage& now) { return now.differenceFrom(before) > 1.0; });
  }
};

TEST_P(APlayerPicture, TopLevelWindowShowsTheClipAndTheNextClipReplacesIt) {
  const int32_t engine = createPopup();
  ASSERT_NE(engine, 0);
  const ScreenImage empty =
      screenWhen(engine, [](const ScreenImage& i) { return i.share(kWholeWindow, isNearlyBlack) > 0.95; });
  ASSERT_EQ(empty.width, 320);
  EXPECT_GT(empty.share(kWholeWindow, isNearlyBlack), 0.95) << "an engine with nothing open is black";

  ASSERT_TRUE(playOnPath(engine, "clip_testsrc.mp4"));
  const ScreenImage testPattern = screenWhen(engine, [](const ScreenImage& i) {
    return i.share(kWholeWindow, isNearlyBlack) < 0.5 && i.distinctColours() >= 6;
  });
  EXPECT_LT(testPattern.share(kWholeWindow, isNearlyBlack), 0.5);
  EXPECT_GE(testPattern.distinctColours(), 6) << "the test pattern is colourful";

  ASSERT_TRUE(playOnPath(engine, "clip_smptebars.mp4"));
  const ScreenImage bars = screenWhen(engine, [&](const ScreenImage& i) {
    return i.share(kWholeWindow, isNearlyBlack) < 0.5 && i.distinctColours() >= 5 && i.differenceFrom(testPattern) > 20.0;
  });
  EXPECT_LT(bars.share(kWholeWindow, isNearlyBlack), 0.5);
  EXPECT_GE(bars.distinctColours(), 5);
  EXPECT_GT(bars.differenceFrom(testPattern), 20.0) << "the second clip replaced the first";
}

TEST_P(APlayerPicture, PauseHoldsThePictureAndPlaySetsItMovingAgain) {
  const int32_t engine = createPopup();
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(playOnPath(engine, "clip_moving.mp4"));
  const ScreenImage playing =
      screenWhen(engine, [](const ScreenImage& i) { return i.share(kWholeWindow, isNearlyBlack) < 0.5; });
  EXPECT_GT(movedFrom(engine, playing).differenceFrom(playing), 1.0) << "the picture moves";

  ASSERT_EQ(api.pause(engine), kAPlayerOk);
  const ScreenImage paused = settledScreen(engine);
  const int32_t pausedAt = api.getPosition(engine);
  pumpMessagesFor(600ms);  // nothing of a paused engine moves to wait for: 15 frames of the clip
  EXPECT_LT(captureClientArea(api.getWindow(engine)).differenceFrom(paused), 0.5) << "paused, it holds";
  EXPECT_NEAR(api.getPosition(engine), pausedAt, 40);

  ASSERT_EQ(api.play(engine), kAPlayerOk);
  EXPECT_GT(movedFrom(engine, paused).differenceFrom(paused), 1.0) << "resumed, it moves again";
}

// Paused longer than the engine keeps its decoders and sound device (10 s),
// its decoding process ends, the picture stays up, and playing goes on from
// where it stood.
TEST_P(APlayerPicture, ALongPauseKeepsThePictureAndPlaysOnFromWhereItStood) {
  const int32_t engine = createPopup();
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(playOnPath(engine, "clip_moving.mp4"));
  ASSERT_TRUE(waitUntil([&] { return api.getPosition(engine) > 1000; }, 15s));
  ASSERT_EQ(api.pause(engine), kAPlayerOk);
  const ScreenImage paused = settledScreen(engine);
  const int32_t pausedAt = api.getPosition(engine);
  EXPECT_GT(pausedAt, 1000);
  EXPECT_EQ(decodingProcesses().size(), 1u) << "it decodes in a process of its own";

  EXPECT_TRUE(waitUntil([] { return decodingProcesses().empty(); }, 40s)) << "the long pause ended it";
  const ScreenImage later = captureClientArea(api.getWindow(engine));
  EXPECT_LT(later.differenceFrom(paused), 0.5) << "the frame stays up";
  EXPECT_LT(later.share(kWholeWindow, isNearlyBlack), 0.5);
  EXPECT_NEAR(api.getPosition(engine), pausedAt, 40);
  EXPECT_EQ(api.getState(engine), kAPlayerStatePaused);
  EXPECT_EQ(api.getVideoWidth(engine), 320);

  ASSERT_EQ(api.play(engine), kAPlayerOk);
  EXPECT_EQ(api.getState(engine), kAPlayerStatePlaying);
  ASSERT_TRUE(waitUntil([&] { return api.getPosition(engine) > pausedAt + 300; }, 10s)) << "it plays on";
  EXPECT_EQ(decodingProcesses().size(), 1u);
  EXPECT_LT(api.getPosition(engine), pausedAt + 3000) << "from where it stood, not from its start";
  EXPECT_GT(movedFrom(engine, later).differenceFrom(later), 1.0) << "the picture moves again";
  EXPECT_TRUE(waitForState(engine, kAPlayerStateReady, 10s)) << "and it plays to its end";
}

TEST_P(APlayerPicture, WideClipIsLetterboxedAndStretchedWhenAspectIsOff) {
  const int32_t engine = createPopup();
  ASSERT_NE(engine, 0);
  // 320x120 in 320x240: the picture fills rows 60..180, black bars above and below.
  ASSERT_TRUE(playOnPath(engine, "clip_wide.mp4"));
  const ScreenImage letterboxed = screenWhen(engine, [](const ScreenImage& i) {
    return i.share({0, 70, 320, 170}, isRed) > 0.9 && i.share({0, 0, 320, 50}, isNearlyBlack) > 0.9 &&
           i.share({0, 190, 320, 240}, isNearlyBlack) > 0.9;
  });
  EXPECT_GT(letterboxed.share({0, 70, 320, 170}, isRed), 0.9);
  EXPECT_GT(letterboxed.share({0, 0, 320, 50}, isNearlyBlack), 0.9);
  EXPECT_GT(letterboxed.share({0, 190, 320, 240}, isNearlyBlack), 0.9);

  ASSERT_EQ(api.setConfig(engine, kAPlayerConfigKeepAspect, "0"), kAPlayerOk);
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigKeepAspect), "0");
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigScaling), kAPlayerScalingStretch);
  const ScreenImage stretched = screenWhen(engine, [](const ScreenImage& i) {
    return i.share({0, 0, 320, 50}, isRed) > 0.9 && i.share({0, 190, 320, 240}, isRed) > 0.9;
  });
  EXPECT_GT(stretched.share({0, 0, 320, 50}, isRed), 0.9);
  EXPECT_GT(stretched.share({0, 190, 320, 240}, isRed), 0.9);

  ASSERT_EQ(api.setConfig(engine, kAPlayerConfigKeepAspect, "1"), kAPlayerOk);
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigScaling), kAPlayerScalingFit) << "aspect kept again: fitted";
  const auto topBandBlack = [](const ScreenImage& i) { return i.share({0, 0, 320, 50}, isNearlyBlack) > 0.9; };
  EXPECT_TRUE(topBandBlack(screenWhen(engine, topBandBlack)));
}

// A 16:9 window, as a wide screen: filled, a 4:3 clip and a portrait clip
// cover it edge to edge, cut equally on both sides; fitted, they leave black bands.
TEST_P(APlayerPicture, FillCoversAWideWindowWithAnyClipAndFitLeavesBands) {
  const int32_t engine = createOnPath(60, 60, 320, 180);
  ASSERT_NE(engine, 0);
  const RECT whole{0, 0, 320, 180};
  const RECT edges[] = {{0, 0, 4, 180}, {316, 0, 320, 180}, {0, 0, 320, 4}, {0, 176, 320, 180}};
  struct Clip {
    const char* name;
    bool (*colour)(uint32_t);  // of the middle, which fill shows; a portrait clip's top and bottom are blue
    RECT band;                 // black when fitted
  };
  const Clip clips[] = {{"clip_red.mp4", isRed, {0, 0, 36, 180}}, {"clip_portrait.mp4", isGreen, {0, 0, 105, 180}}};
  for (const Clip& clip : clips) {
    SCOPED_TRACE(clip.name);
    ASSERT_EQ(api.setConfig(engine, kAPlayerConfigScaling, kAPlayerScalingFill), kAPlayerOk);
    ASSERT_TRUE(playOnPath(engine, clip.name));
    const auto covered = [&](const ScreenImage& i) {
      if (i.share(whole, clip.colour) <= 0.97) return false;
      for (const RECT& edge : edges)
        if (i.share(edge, isNearlyBlack) != 0.0) return false;
      return true;
    };
    const ScreenImage filled = screenWhen(engine, covered);
    EXPECT_GT(filled.share(whole, clip.colour), 0.97) << "covered, the middle of the clip centred";
    for (const RECT& edge : edges) EXPECT_EQ(filled.share(edge, isNearlyBlack), 0.0) << "no black column or row";

    ASSERT_EQ(api.setConfig(engine, kAPlayerConfigScaling, kAPlayerScalingFit), kAPlayerOk);
    const ScreenImage fitted = screenWhen(engine, [&](const ScreenImage& i) {
      return i.share(clip.band, isNearlyBlack) > 0.95 && i.share({320 - clip.band.right, 0, 320, 180}, isNearlyBlack) > 0.95 &&
             i.share({150, 80, 170, 100}, clip.colour) > 0.95;
    });
    EXPECT_GT(fitted.share(clip.band, isNearlyBlack), 0.95) << "a black band on the left";
    EXPECT_GT(fitted.share({320 - clip.band.right, 0, 320, 180}, isNearlyBlack), 0.95) << "and on the right";
    EXPECT_GT(fitted.share({150, 80, 170, 100}, clip.colour), 0.95);
  }
  EXPECT_EQ(api.setConfig(engine, kAPlayerConfigScaling, "3"), kAPlayerFailed);
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigScaling), kAPlayerScalingFit);
}

TEST_P(APlayerPicture, LogoShowsCentredWhileNoVideoShows) {
  const int32_t engine = createPopup();
  ASSERT_NE(engine, 0);
  UniqueGdiObject logo(makeSolidBitmap(40, 40, RGB(0, 200, 0)));
  ASSERT_EQ(api.setCustomLogo(engine, static_cast<HBITMAP>(logo.get())), kAPlayerOk);
  const RECT logoArea{145, 105, 175, 135};
  const RECT corner{0, 0, 100, 60};

  const auto logoShows = [&](const ScreenImage& i) { return i.share(logoArea, isGreen) > 0.95; };
  const ScreenImage idle =
      screenWhen(engine, [&](const ScreenImage& i) { return logoShows(i) && i.share(corner, isNearlyBlack) > 0.95; });
  EXPECT_GT(idle.share(logoArea, isGreen), 0.95);
  EXPECT_GT(idle.share(corner, isNearlyBlack), 0.95);

  ASSERT_TRUE(open(engine, "tone.wav"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  // Played for longer than a first frame would take to cover it: there is none.
  ASSERT_TRUE(waitUntil([&] { return api.getPosition(engine) >= 300; }, 15s));
  EXPECT_GT(screenWhen(engine, logoShows).share(logoArea, isGreen), 0.95) << "sound only: the logo stays";

  ASSERT_TRUE(playOnPath(engine, "clip_wide.mp4"));
  EXPECT_GT(screenWhen(engine, [&](const ScreenImage& i) { return i.share(logoArea, isRed) > 0.9; }).share(logoArea, isRed),
            0.9)
      << "the video covers the logo";

  ASSERT_EQ(api.close(engine), kAPlayerOk);
  EXPECT_GT(screenWhen(engine, logoShows).share(logoArea, isGreen), 0.95);
  // The engine never owned the bitmap; it is still ours to delete.
  BITMAP info{};
  EXPECT_NE(::GetObjectA(logo.get(), sizeof info, &info), 0);
}

// Solid C0 30 60 encoded in each colour space a clip may use: the screen
// shows that colour within 6 levels, whatever the matrix, the range or the
// depth. 10-bit HEVC plays where the platform decodes it (Wine's refuses the
// stream at its source); where it cannot, the file is passed over and shows nothing.
TEST_P(APlayerPicture, ColourClipsShowTheColourTheyEncode) {
  const int32_t engine = createPopup();
  ASSERT_NE(engine, 0);
  const auto isEncodedColour = [](uint32_t pixel) {
    return std::abs(static_cast<int>((pixel >> 16) & 0xff) - 0xC0) <= 6 &&
           std::abs(static_cast<int>((pixel >> 8) & 0xff) - 0x30) <= 6 && std::abs(static_cast<int>(pixel & 0xff) - 0x60) <= 6;
  };
  for (const char* clip : {"colour_sd.mp4", "colour_hd.mp4", "colour_full.mp4"}) {
    SCOPED_TRACE(clip);
    ASSERT_TRUE(playOnPath(engine, clip));
    // The 16:9 clip leaves bands above and below.
    const RECT middle{20, 50, 300, 190};
    const ScreenImage shown = screenWhen(engine, [&](const ScreenImage& s) { return s.share(middle, isEncodedColour) > 0.95; });
    EXPECT_GT(shown.share(middle, isEncodedColour), 0.95) << std::hex << "the middle shows " << shown.at(160, 120);
  }
  ASSERT_EQ(api.close(engine), kAPlayerOk);
  clearRecordedEvents();
  if (open(engine, "colour_hevc10.mp4") &&
      waitUntil([&] { return api.getState(engine) == kAPlayerStatePlaying || countEvents({kAPlayerEventOpenFailed, 0}) > 0; }, 10s) &&
      api.getState(engine) == kAPlayerStatePlaying) {
    const ScreenImage shown =
        screenWhen(engine, [&](const ScreenImage& s) { return s.share({20, 20, 300, 220}, isEncodedColour) > 0.95; });
    EXPECT_GT(shown.share({20, 20, 300, 220}, isEncodedColour), 0.95) << "10-bit";
  } else {
    EXPECT_GT(settledScreen(engine).share({0, 0, 320, 240}, isNearlyBlack), 0.95) << "passed over: no garbage";
  }
}

// 640x360 in a 1280x720 window, columns 30 levels apart: doubled pixels
// would show each column twice; filtered, each pair of screen columns differs.
TEST_P(APlayerPicture, ALowResolutionClipIsScaledWithFiltering) {
  const int32_t engine = createOnPath(0, 0, 1280, 720);
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(playOnPath(engine, "sawtooth_640x360.mp4"));
  const ScreenImage shown =
      screenWhen(engine, [](const ScreenImage& s) { return s.share({0, 300, 1280, 420}, isNearlyBlack) < 0.5; });
  ASSERT_EQ(shown.width, 1280);
  int pairs = 0, blended = 0;
  for (int x = 0; x + 1 < 1280; x += 2) {
    const int left = static_cast<int>((shown.at(x, 360) >> 8) & 0xff);
    const int right = static_cast<int>((shown.at(x + 1, 360) >> 8) & 0xff);
    ++pairs;
    if (std::abs(left - right) >= 4) ++blended;
  }
  EXPECT_GT(blended, pairs / 2) << "of " << pairs << " pairs of screen columns, " << blended << " differ";
}

INSTANTIATE_TEST_SUITE_P(Paths, APlayerPicture,
                         ::testing::Values(Path{kAPlayerPresentationAuto, kAPlayerPathGpuSoftware},
                                           Path{kAPlayerPresentationGdi, kAPlayerPathGdi}),
                         [](const ::testing::TestParamInfo<Path>& path) {
                           return std::string(std::string(path.param.inUse) == kAPlayerPathGdi ? "Gdi" : "Gpu");
                         });

// The graphics card failing at every Present, as a lost device does: the
// engine tries a new device, then goes on through GDI, and the file plays on.
class APlayerPresentation : public PlayerFixture {};

TEST_F(APlayerPresentation, FallsBackToGdiAndPlaysOnWhenTheCardFails) {
  // Every device fails, the new one too.
  ASSERT_TRUE(::SetEnvironmentVariableW(L"QOVA_APLAYER_FAIL_PRESENT", L"1"));
  struct Restore {
    ~Restore() { ::SetEnvironmentVariableW(L"QOVA_APLAYER_FAIL_PRESENT", nullptr); }
  } restore;
  const int32_t engine = createEngine(nullptr, 60, 60, 320, 240);
  ASSERT_NE(engine, 0);
  ASSERT_EQ(api.setConfig(engine, kAPlayerConfigPresentation, kAPlayerPresentationGpu), kAPlayerOk);
  EXPECT_STREQ(api.getConfig(engine, kAPlayerConfigPresentation), kAPlayerPresentationGpu);
  ASSERT_TRUE(open(engine, "clip_moving.mp4"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  EXPECT_TRUE(waitUntil([&] { return std::string(api.getConfig(engine, kAPlayerConfigPresentationInUse)) == kAPlayerPathGdi; }, 5s));
  const int32_t before = api.getPosition(engine);
  ScreenImage first;
  EXPECT_TRUE(waitUntil([&] {
    first = captureClientArea(api.getWindow(engine));
    return first.share({0, 0, 320, 240}, isNearlyBlack) < 0.5;
  }, 15s)) << "GDI shows the picture";
  EXPECT_TRUE(waitUntil([&] { return captureClientArea(api.getWindow(engine)).differenceFrom(first) > 1.0; }, 15s))
      << "and it moves";
  EXPECT_TRUE(waitUntil([&] { return api.getPosition(engine) > before + 500; }, 15s)) << "playback went on";
  EXPECT_EQ(api.getState(engine), kAPlayerStatePlaying);
}

}  // namespace
}  // namespace qova::test
