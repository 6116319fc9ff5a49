// A whole synthetic day (24 hours at 10 samples a second, a turn to landscape every few
// minutes, the phone on the table at night, half of the suggestions accepted) through the
// whole system: the tweak loaded into the home screen, its timer, classifier, manager, overlay
// and button, taps through the touch screen, and the orientation lock. Run in the sanitizer
// build too, where it doubles as the long run that must finish clean.
#include <gtest/gtest.h>

#include "SpringBoard/HomeScreenState.h"
#include "support/SyntheticDayTrace.h"
#include "support/WholeSystemReplay.h"

namespace {

TEST(DayReplayTest, ADayOfUseEndsWithTheLockBackOnAndNothingLeftOnScreen) {
  WholeSystemReplay replay({});
  ASSERT_TRUE(replay.boot());
  SyntheticDayTrace trace({});
  replay.play(trace);
  replay.settle();

  const WholeSystemReplay::Counts& counts = replay.counts();
  EXPECT_EQ(counts.samples, 864001u);
  // Most turns bring a suggestion; the rest fall in the night or in front of an app that
  // gets none.
  EXPECT_GT(trace.landscapeTurns(), 150u);
  EXPECT_GT(counts.suggestionsShown, 50u);
  EXPECT_LT(counts.suggestionsShown, trace.landscapeTurns());
  EXPECT_EQ(counts.suggestionsWhereNoneBelongs, 0u);
  EXPECT_EQ(counts.hapticImpacts, counts.suggestionsShown) << "one tap of feedback per button";
  EXPECT_EQ(counts.buttonsRemoved, counts.suggestionsShown);
  EXPECT_FALSE(replay.buttonOnScreen());

  // Every tap the person made reached the button, and each lifted the lock exactly once;
  // every lift was put back when the phone came upright again.
  EXPECT_GT(counts.taps, 10u);
  EXPECT_EQ(counts.acceptedTaps, counts.taps);
  EXPECT_EQ(counts.lockLiftedByTweak, counts.acceptedTaps);
  EXPECT_EQ(counts.lockRestoredByTweak, counts.lockLiftedByTweak);
  EXPECT_TRUE(HomeScreenState::of(replay.device()).isOrientationLocked());
}

}  // namespace
