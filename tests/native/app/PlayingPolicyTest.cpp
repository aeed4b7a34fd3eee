// The one playing policy: which monitor's player plays, from the user's
// pause, the pause causes, the hidden monitors, the stop after every entry
// failed and each monitor's own video.
#include "app/PlayingPolicy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qova::PauseCause;
using qova::PlayingPolicy;
using Changes = PlayingPolicy::Changes;

// "1" for a monitor whose player plays, "0" for one that pauses, primary first.
std::string playing(const PlayingPolicy& policy) {
  std::string text;
  for (std::size_t i = 0; i < policy.monitorCount(); ++i) text += policy.plays(i) ? '1' : '0';
  return text;
}

PlayingPolicy threeMonitors() {
  PlayingPolicy policy;
  policy.setMonitorCount(3);
  return policy;
}

TEST(PlayingPolicy, EveryMonitorPlaysUntilSomethingPausesIt) {
  PlayingPolicy policy = threeMonitors();
  EXPECT_EQ(playing(policy), "111");
  EXPECT_FALSE(policy.userPaused());
  EXPECT_FALSE(policy.stopped());
}

TEST(PlayingPolicy, TheUserPauseAndEachSessionCauseHoldUntilTheLastOfThemEnds) {
  const PauseCause causes[] = {PauseCause::SessionLocked, PauseCause::DisplayOff, PauseCause::BatterySaver,
                               PauseCause::DesktopHidden};
  for (PauseCause cause : causes) {
    SCOPED_TRACE(static_cast<unsigned>(cause));
    PlayingPolicy policy = threeMonitors();
    // A cause pauses, resuming from it names the primary first.
    EXPECT_EQ(policy.setCause(cause, true), (Changes{1, 2, 0}));
    EXPECT_EQ(playing(policy), "000");
    EXPECT_EQ(policy.setCause(cause, false), (Changes{0, 1, 2}));

    // The user pauses during the cause: its end leaves the user's pause standing.
    EXPECT_EQ(policy.setUserPaused(true), (Changes{1, 2, 0}));
    EXPECT_EQ(policy.setCause(cause, true), Changes{});
    EXPECT_EQ(policy.setCause(cause, false), Changes{});
    EXPECT_EQ(playing(policy), "000");
    // The user resumes while a cause holds: still paused, until it ends.
    EXPECT_EQ(policy.setCause(cause, true), Changes{});
    EXPECT_EQ(policy.setUserPaused(false), Changes{});
    EXPECT_EQ(playing(policy), "000");
    EXPECT_EQ(policy.setCause(cause, false), (Changes{0, 1, 2}));
  }
}

TEST(PlayingPolicy, TwoCausesAtOnceEndWithTheLast) {
  PlayingPolicy policy = threeMonitors();
  policy.setCause(PauseCause::SessionLocked, true);
  EXPECT_EQ(policy.setCause(PauseCause::DisplayOff, true), Changes{});
  EXPECT_EQ(policy.setCause(PauseCause::SessionLocked, false), Changes{});
  EXPECT_EQ(policy.setCause(PauseCause::DisplayOff, false), (Changes{0, 1, 2}));
}

TEST(PlayingPolicy, AHiddenMonitorPausesAloneAndThePrimaryOnlyWhenNoMonitorShowsTheLibrary) {
  PlayingPolicy policy = threeMonitors();
  EXPECT_EQ(policy.setHidden({false, true, false}), Changes{1});
  EXPECT_EQ(playing(policy), "101");
  // The primary's own monitor hidden: it plays on for the monitor that follows it.
  EXPECT_EQ(policy.setHidden({true, true, false}), Changes{});
  EXPECT_EQ(playing(policy), "101");
  EXPECT_EQ(policy.setHidden({true, true, true}), (Changes{2, 0}));
  EXPECT_EQ(playing(policy), "000");
  // One shows again: the primary first, then the one that joins it.
  EXPECT_EQ(policy.setHidden({true, false, true}), (Changes{0, 1}));
  // A hidden monitor stays paused through the user's pause and resume.
  policy.setUserPaused(true);
  EXPECT_EQ(policy.setUserPaused(false), (Changes{0, 1}));
  EXPECT_EQ(playing(policy), "110");
}

TEST(PlayingPolicy, TheStopAfterEveryEntryFailedHaltsTheLibraryButNotAMonitorsOwnVideo) {
  PlayingPolicy policy = threeMonitors();
  policy.setOwnVideos({"", "", "C:\\v\\own.mp4"});
  EXPECT_EQ(policy.setStopped(true), (Changes{1, 0}));
  EXPECT_TRUE(policy.stopped());
  EXPECT_EQ(playing(policy), "001");
  EXPECT_EQ(policy.setStopped(false), (Changes{0, 1}));
  EXPECT_EQ(playing(policy), "111");
}

TEST(PlayingPolicy, AMonitorsOwnVideoObeysThatMonitorsPausesAndTheSessions) {
  PlayingPolicy policy = threeMonitors();
  EXPECT_EQ(policy.setOwnVideos({"C:\\v\\ignored.mp4", "C:\\v\\own.mp4", ""}), Changes{});
  EXPECT_TRUE(policy.followsPrimary(0)) << "the primary always plays the library";
  EXPECT_EQ(policy.ownVideo(1), "C:\\v\\own.mp4");
  EXPECT_TRUE(policy.followsPrimary(2));

  EXPECT_EQ(policy.setHidden({false, true, false}), Changes{1});
  EXPECT_EQ(playing(policy), "101");
  // Only the monitor with its own video shows: the library's entry pauses, the own video plays.
  EXPECT_EQ(policy.setHidden({true, false, true}), (Changes{1, 2, 0}));
  EXPECT_EQ(playing(policy), "010");
  EXPECT_EQ(policy.setCause(PauseCause::SessionLocked, true), Changes{1});
  EXPECT_EQ(policy.setCause(PauseCause::SessionLocked, false), Changes{1});
  EXPECT_EQ(policy.setUserPaused(true), Changes{1});
  EXPECT_EQ(policy.setUserPaused(false), Changes{1});

  // Back to following the primary on the one monitor that shows: the library's entry plays again there.
  EXPECT_EQ(policy.setOwnVideos({}), Changes{0});
  EXPECT_EQ(playing(policy), "110");
}

TEST(PlayingPolicy, MonitorsThatGoTakeWhatWasKnownOfThemAlong) {
  PlayingPolicy policy = threeMonitors();
  policy.setOwnVideos({"", "", "C:\\v\\own.mp4"});
  policy.setHidden({false, false, true});
  EXPECT_EQ(policy.setMonitorCount(1), Changes{});
  EXPECT_EQ(playing(policy), "1");
  EXPECT_EQ(policy.setMonitorCount(3), Changes{});
  EXPECT_EQ(playing(policy), "111");
  EXPECT_TRUE(policy.followsPrimary(2)) << "a monitor that comes back is told its choice again";
  EXPECT_FALSE(policy.plays(3));
}

}  // namespace
