// The bound on decoding: a decoder that stalls is left behind and the caller
// goes on with the best frame it had offered.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>

#include "outside/screenshot/CaptureJob.h"
#include "runtime/UniqueHandle.h"

namespace qova::screenshot {
namespace {

using namespace std::chrono_literals;

media::RgbImage grey(uint8_t level) {
  media::RgbImage image(8, 8);
  std::fill(image.pixels.begin(), image.pixels.end(), level);
  return image;
}

// The stalling decoder's side of the test.
UniqueHandle releaseStalled(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
UniqueHandle stalledFinished(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
std::atomic<bool> lateOfferRefused{false};

void offerDarkThenStall(const std::wstring&, CaptureProgress& progress) {
  progress.offer(grey(12), 32, 27);
  ::WaitForSingleObject(releaseStalled.get(), 60'000);
  lateOfferRefused = progress.offer(grey(200), 1, 1) && progress.abandoned();
  ::SetEvent(stalledFinished.get());
}

void offerBlackThenColour(const std::wstring&, CaptureProgress& progress) {
  if (progress.offer(grey(0), 0, 0)) return;
  progress.offer(grey(180), 0, 0);
  progress.offer(grey(90), 0, 0);  // refused: a good frame is already there
}

void findOnlySound(const std::wstring&, CaptureProgress& progress) { progress.markSoundOnly(); }

void findNothing(const std::wstring&, CaptureProgress&) {}

TEST(CaptureDeadline, AStalledDecoderIsLeftBehindWithTheBestFrameItOffered) {
  ASSERT_TRUE(releaseStalled && stalledFinished);
  const auto start = std::chrono::steady_clock::now();
  const CaptureResult result = captureWithin(L"stalls.mp4", 300ms, offerDarkThenStall);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 290ms);
  ASSERT_FALSE(result.frame.empty()) << "the dark frame offered before the stall";
  EXPECT_EQ(result.frame.pixels[0], 12);
  EXPECT_EQ(result.pixelAspectNumerator, 32);
  EXPECT_EQ(result.pixelAspectDenominator, 27);

  ::SetEvent(releaseStalled.get());
  ASSERT_EQ(::WaitForSingleObject(stalledFinished.get(), 10'000), WAIT_OBJECT_0);
  EXPECT_TRUE(lateOfferRefused) << "the decoder learns that nobody waits any more";
}

TEST(CaptureDeadline, AFinishedDecoderIsNotWaitedForAndItsFirstGoodFrameWins) {
  const auto start = std::chrono::steady_clock::now();
  const CaptureResult result = captureWithin(L"good.mp4", 60s, offerBlackThenColour);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
  ASSERT_FALSE(result.frame.empty());
  EXPECT_EQ(result.frame.pixels[0], 180);
  EXPECT_FALSE(result.soundOnly);
}

TEST(CaptureDeadline, SoundOnlyAndNothingAtAll) {
  const CaptureResult sound = captureWithin(L"tone.mp3", 60s, findOnlySound);
  EXPECT_TRUE(sound.soundOnly);
  EXPECT_TRUE(sound.frame.empty());
  const CaptureResult nothing = captureWithin(L"broken.mp4", 60s, findNothing);
  EXPECT_FALSE(nothing.soundOnly);
  EXPECT_TRUE(nothing.frame.empty());
}

}  // namespace
}  // namespace qova::screenshot
