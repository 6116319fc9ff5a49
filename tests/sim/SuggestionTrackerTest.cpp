// What events mean for the suggestion on screen: the summary's counts and the pictures'
// captions read them alike.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Device/TemporaryFolder.h"
#include "sim/ScenarioParser.h"
#include "sim/SimulationRunner.h"
#include "sim/SuggestionTracker.h"
#include "sim/TextTimelinePrinter.h"
#include "sim/Timeline.h"
#include "sim/TimelineEventSamples.h"
#include "sim/app/RunPresenter.h"
#include "sim/pictures/DeviceArtworkPainter.h"

namespace sim {
namespace {

using Step = SuggestionTracker::Step;

TEST(SuggestionTrackerTest, EachEventsMeaningForTheSuggestionOnScreen) {
  struct Case {
    const char* what;
    std::vector<TimelineEvent> events;
    std::vector<Step> steps;
    bool untappedAtTheEnd;
  };
  const Case cases[] = {
      {"tapped, then faded",
       {buttonShown(3, 150, 367, 75), lock(4, false, "tweak"), buttonRemoved(4.2)},
       {Step::Offered, Step::Accepted, Step::Ended},
       false},
      {"left alone",
       {buttonShown(3, 150, 367, 75), buttonRemoved(6)},
       {Step::Offered, Step::Withdrawn},
       false},
      // Turning the lock off is the user's own doing, not an answer to the suggestion.
      {"lock turned off by the user",
       {buttonShown(3, 150, 367, 75), lock(3.5, false, "user"), buttonRemoved(6)},
       {Step::Offered, Step::None, Step::Withdrawn},
       false},
      {"lock put back by Gyrowhirl",
       {buttonShown(3, 150, 367, 75), lock(3.5, true, "tweak")},
       {Step::Offered, Step::None},
       true},
      {"lifted twice",
       {buttonShown(3, 150, 367, 75), lock(4, false, "tweak"), lock(4.1, false, "tweak")},
       {Step::Offered, Step::Accepted, Step::None},
       false},
      {"restart takes it",
       {buttonShown(3, 150, 367, 75), {5, "boot", {}}, buttonRemoved(5)},
       {Step::Offered, Step::TakenByRestart, Step::None},
       false},
      {"restart after the tap",
       {buttonShown(3, 150, 367, 75), lock(4, false, "tweak"), {5, "boot", {}}},
       {Step::Offered, Step::Accepted, Step::Ended},
       false},
      {"nothing on screen",
       {lock(1, false, "tweak"), buttonRemoved(2), {3, "boot", {}}},
       {Step::None, Step::None, Step::None},
       false},
      {"still up", {buttonShown(3, 150, 367, 75)}, {Step::Offered}, true},
  };
  for (const Case& c : cases) {
    SuggestionTracker tracker;
    std::vector<Step> steps;
    for (const TimelineEvent& event : c.events) steps.push_back(tracker.follow(event));
    EXPECT_EQ(steps, c.steps) << c.what;
    EXPECT_EQ(tracker.untappedOnScreen(), c.untappedAtTheEnd) << c.what;
  }
}

// The user turns the orientation lock off while a suggestion is up; the button is withdrawn
// untapped when its interval ends. The frame that shows it going says so, as the human
// timeline does.
TEST(SuggestionTrackerTest, FramesCaptionAWithdrawalAfterTheUsersOwnLockChangeAsOne) {
  ScenarioParser::Result parsed = ScenarioParser::parse(
      "pref pSliderDisappearInterval 1\napp com.example.reader\n"
      "at 0 boot\nat 0 front com.example.reader\nat 0 orientationlock on\nat 0 turn portrait\n"
      "at 3 turn landscape\nat 3.5 orientationlock off\nend 6\n",
      "lock-off-under-the-button.scn");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  TemporaryFolder folder("gyrowhirl-suggestion-test-");
  auto owner = std::make_unique<RunPresenter>(nullptr, nullptr);
  RunPresenter& presenter = *owner;
  presenter.renderTo(folder.path(), 0);
  Timeline timeline(std::move(owner));
  SimulationOptions options;
  options.artwork = DeviceArtworkPainter::artwork();
  SimulationRunner runner(options, timeline);
  runner.setObserver(&presenter);
  const SimulationRunner::Outcome outcome = runner.run(*parsed.scenario);
  ASSERT_EQ(outcome.status, SimulationRunner::Status::Done) << outcome.message;

  std::string captions;
  for (const StoryboardFrame& frame : presenter.frames()->frames()) {
    captions += frame.caption + "\n";
  }
  EXPECT_NE(captions.find(TextTimelinePrinter::kWithdrawnWords), std::string::npos) << captions;
  EXPECT_EQ(captions.find("button removed"), std::string::npos) << captions;
  bool keyFrame = false;
  for (const StoryboardFrame& frame : presenter.keyFrames()) {
    keyFrame =
        keyFrame || frame.caption.find(TextTimelinePrinter::kWithdrawnWords) != std::string::npos;
  }
  EXPECT_TRUE(keyFrame) << "a withdrawal is a point of the story";
}

}  // namespace
}  // namespace sim
