// The alert helper: one suggestion at a time, fades with one haptic per fade-in, a tap runs the
// callback once and leaves the helper idle 0.2 s later, and the preference fields.
#include "UIKit/UIColor.h"
#include "VXCommon/VXAlertHelper.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Device/Device.h"
#include "Foundation/NSNotificationCenterSimulation.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UITouchInput.h"
#include "UIKit/UIViewInspection.h"
#include "VXCommon/VXFab.h"
#include "VXCommon/VXPassthroughWindow.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"

namespace {

using overlay_test::broadcastPreferences;
using overlay_test::LogCapture;

constexpr double kFade = 0.20000000298023224;

class VXAlertHelperTest : public ::testing::Test {
 protected:
  VXAlertHelperTest() {
    hapticToken = device.device().subscribe([this](const DeviceEvent& event) {
      if (event.name == "haptic")
        haptics.push_back(static_cast<std::int32_t>(event.fields.value("style").integerValue()));
    });
    helper = VXAlertHelper::init();
  }
  ~VXAlertHelperTest() override { device.device().unsubscribe(hapticToken); }

  // A callback that counts its runs in `counter`.
  static VXAlertHelper::Block counting(int& counter) {
    return [&counter] { ++counter; };
  }
  CGPoint buttonCentre() const {
    const CGRect f = helper->FAB()->frame();
    return {f.origin.x + f.size.width / 2, f.origin.y + f.size.height / 2};
  }
  bool idle() const {
    return !helper->isDisplayingAlert() && !helper->FAB() && !helper->window() && !helper->block();
  }
  std::size_t windowsOnScreen() {
    return UIScreenHardware::of(device.device()).windowsFrontToBack().size();
  }

  ScopedTestDevice device;
  LogCapture log;
  UITouchInput input{device.device()};
  int hapticToken = 0;
  std::vector<std::int32_t> haptics;
  std::shared_ptr<VXAlertHelper> helper;
};

TEST_F(VXAlertHelperTest, StartsIdleWithTheInitialAppearance) {
  EXPECT_EQ(log.lines(), std::vector<std::string>{"<VX> VXAlertHelper.cpp:27 -[VXAlertHelper init] "
                                                  "VXAlertHelper initializied"});
  EXPECT_TRUE(idle());
  EXPECT_EQ(helper->FABSize(), 2);
  EXPECT_EQ(helper->FABColor(), UIColor::colorWithRed(1, 1, 1, 0.3));
  EXPECT_EQ(helper->FABOrigin(), CGPointZero);
  EXPECT_EQ(helper->feedbackStyle(), 0);
  EXPECT_TRUE(helper->shouldAnimateFAB());
}

TEST_F(VXAlertHelperTest, SuggestionFadesInWithOneHapticAndTakesNoTouchesMeanwhile) {
  helper->setFeedbackStyle(2);
  int runs = 0;
  helper->displayAlertWithBlock(counting(runs));
  ASSERT_TRUE(helper->isDisplayingAlert());
  ASSERT_NE(helper->FAB(), nullptr);
  ASSERT_NE(helper->window(), nullptr);
  EXPECT_EQ(helper->FAB()->superview(), helper->window());
  EXPECT_EQ(helper->FAB()->frame(), CGRectMake(150, 367, 75, 75)) << "initial scale type 2";
  EXPECT_EQ(helper->FAB()->backgroundColor(), UIColor::colorWithRed(1, 1, 1, 0.3));
  EXPECT_EQ(helper->FAB()->alpha(), 1.0) << "the model value changes at once";
  EXPECT_EQ(haptics, std::vector<std::int32_t>{2}) << "at the start of the fade-in";
  ASSERT_TRUE(UIViewInspection::alphaAnimation(*helper->FAB()).has_value());
  EXPECT_EQ(UIViewInspection::alphaAnimation(*helper->FAB())->durationSeconds, kFade);
  EXPECT_EQ(UIViewInspection::alphaAnimation(*helper->FAB())->fromAlpha, 0.0);
  EXPECT_EQ(UIViewInspection::alphaAnimation(*helper->FAB())->curve,
            UIViewAnimationOptionCurveEaseIn);

  // During the fade-in a tap passes through and runs nothing.
  EXPECT_TRUE(input.tap(buttonCentre()).passedThrough());
  device.runFor(kFade);
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(input.hitTest(buttonCentre()).view, helper->FAB());
  EXPECT_EQ(haptics.size(), 1u);
}

TEST_F(VXAlertHelperTest, TapRunsTheCallbackOnceThenIdle0Point2SecondsLater) {
  int runs = 0;
  helper->displayAlertWithBlock(counting(runs));
  device.runFor(kFade);
  const std::weak_ptr<VXFab> fab = helper->FAB();

  EXPECT_EQ(input.tap(buttonCentre()).view, helper->FAB());
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(helper->isDisplayingAlert()) << "fading out";
  ASSERT_NE(helper->FAB(), nullptr);
  EXPECT_EQ(helper->FAB()->alpha(), 0.0);
  EXPECT_TRUE(input.tap(buttonCentre()).passedThrough()) << "no touches while fading out";
  EXPECT_EQ(runs, 1);

  const double tapTime = device.device().now();
  device.device().runUntil(tapTime + kFade - 1e-9);
  EXPECT_TRUE(helper->isDisplayingAlert());
  device.device().runUntil(tapTime + kFade);
  EXPECT_TRUE(idle());
  EXPECT_TRUE(fab.expired()) << "button destroyed";
  EXPECT_EQ(windowsOnScreen(), 0u) << "overlay off the screen";
  EXPECT_EQ(runs, 1);
}

TEST_F(VXAlertHelperTest, IgnoresNewSuggestionsWhileShowingOrFadingOut) {
  int first = 0, second = 0, third = 0;
  helper->displayAlertWithBlock(counting(first));
  const auto fab = helper->FAB();
  const auto window = helper->window();
  device.runFor(kFade);

  helper->displayAlertWithBlock(counting(second));  // showing
  EXPECT_EQ(helper->FAB(), fab);
  EXPECT_EQ(helper->window(), window);
  EXPECT_EQ(haptics.size(), 1u) << "no second fade-in";
  input.tap(buttonCentre());
  EXPECT_EQ(first, 1);

  helper->displayAlertWithBlock(counting(third));  // fading out
  EXPECT_EQ(helper->FAB(), fab);
  device.runFor(kFade);
  EXPECT_TRUE(idle());
  EXPECT_EQ(second, 0);
  EXPECT_EQ(third, 0);
  EXPECT_EQ(haptics.size(), 1u);

  // Idle again: the next suggestion goes up with a fresh button and another haptic.
  helper->displayAlertWithBlock(counting(second));
  EXPECT_TRUE(helper->isDisplayingAlert());
  EXPECT_NE(helper->FAB(), nullptr);
  EXPECT_EQ(haptics.size(), 2u);
}

TEST_F(VXAlertHelperTest, DismissFadesOutWithoutRunningTheCallback) {
  int runs = 0;
  helper->displayAlertWithBlock(counting(runs));
  device.runFor(0.1);  // mid fade-in
  helper->dismissAlert();
  EXPECT_TRUE(helper->isDisplayingAlert());
  device.runFor(kFade);
  EXPECT_TRUE(idle());
  EXPECT_EQ(runs, 0);
}

TEST_F(VXAlertHelperTest, DismissWhenIdleEndsInResetStateAndStaysIdle) {
  helper->dismissAlert();
  helper->dismissAlert();
  helper->resetState();
  EXPECT_FALSE(helper->isDisplayingAlert());
  device.runFor(1);
  EXPECT_TRUE(idle());
  EXPECT_TRUE(haptics.empty());
}

// A fade-out that began before a suggestion went up completes without tearing it down.
TEST_F(VXAlertHelperTest, StaleFadeOutLeavesANewerSuggestionUp) {
  helper->dismissAlert();  // idle: its completion is due in 0.2 s
  device.runFor(0.1);
  int runs = 0;
  helper->displayAlertWithBlock(counting(runs));
  device.runFor(kFade);
  ASSERT_TRUE(helper->isDisplayingAlert());
  ASSERT_NE(helper->FAB(), nullptr);
  input.tap(buttonCentre());
  EXPECT_EQ(runs, 1);
  device.runFor(kFade);
  EXPECT_TRUE(idle());
}

TEST_F(VXAlertHelperTest, DestroyingTheHelperTakesTheSuggestionDownAndStopsObserving) {
  helper->displayAlertWithBlock({});
  const std::weak_ptr<VXPassthroughWindow> window = helper->window();
  const VXAlertHelper* address = helper.get();
  helper.reset();
  EXPECT_TRUE(window.expired());
  EXPECT_EQ(windowsOnScreen(), 0u);
  EXPECT_EQ(NSNotificationCenterSimulation::registrationCountForTesting(
                NSNotificationCenter::defaultCenter(), address),
            0u);
  broadcastPreferences();
  device.runFor(1);  // the fade-in's end passes with nobody left
}

// ---- preferences -------------------------------------------------------------------------------

TEST_F(VXAlertHelperTest, AbsentPreferencesGiveTheBroadcastDefaults) {
  helper->setFABSize(3);
  helper->setFABOrigin({10, 10});
  helper->setFeedbackStyle(2);
  helper->setShouldAnimateFAB(false);
  log.clear();
  broadcastPreferences();
  EXPECT_EQ(helper->FABColor(), UIColor::whiteColor()) << "opaque, not the initial 0.3";
  EXPECT_EQ(helper->FABSize(), 0);
  EXPECT_EQ(helper->FABOrigin(), CGPointZero);
  EXPECT_EQ(helper->feedbackStyle(), 0);
  EXPECT_TRUE(helper->shouldAnimateFAB());
  EXPECT_EQ(log.lines(), std::vector<std::string>{
                             "<VX> VXAlertHelper.cpp:56 -[VXAlertHelper preferencesUpdated:] "
                             "VXAlertHelper prefs updated"});

  // A broadcast without a dictionary reads as an empty one.
  helper->setFABSize(3);
  NSNotificationCenter::defaultCenter().postNotificationName("VXPREFSUPDATED");
  EXPECT_EQ(helper->FABSize(), 0);
}

TEST_F(VXAlertHelperTest, TakesTheFiveSettingsFromTheBroadcast) {
  const UIColor red = UIColor::colorWithRed(1, 0, 0, 0.8);
  broadcastPreferences({{"FABBgColor", Foundation::Value::color(red)},
                        {"ButtonSize", Foundation::Value::integer(3)},
                        {"Origin", Foundation::Value::point({10, 20})},
                        {"FeedbackStyle", Foundation::Value::integer(3)},
                        {"ShouldAnimateFAB", Foundation::Value::boolean(false)},
                        {"IsEnabled", Foundation::Value::boolean(false)}});
  EXPECT_EQ(helper->FABColor(), red);
  EXPECT_EQ(helper->FABSize(), 3);
  EXPECT_EQ(helper->FABOrigin(), CGPointMake(10, 20));
  EXPECT_EQ(helper->feedbackStyle(), 2);
  EXPECT_FALSE(helper->shouldAnimateFAB());
}

TEST_F(VXAlertHelperTest, FeedbackStylePreferenceMapsToImpactStyles) {
  const struct {
    std::optional<std::int64_t> preference;
    std::int64_t style;
  } cases[] = {{std::nullopt, 0}, {0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 0}, {-1, 0}};
  for (const auto& c : cases) {
    Foundation::Dictionary prefs;
    if (c.preference) prefs.set("FeedbackStyle", Foundation::Value::integer(*c.preference));
    broadcastPreferences(prefs);
    EXPECT_EQ(helper->feedbackStyle(), c.style) << c.preference.value_or(-99);
  }
}

TEST_F(VXAlertHelperTest, NewSettingsReachOnlyTheNextButton) {
  helper->displayAlertWithBlock({});
  const auto fab = helper->FAB();
  ASSERT_EQ(fab->frame(), CGRectMake(150, 367, 75, 75));
  EXPECT_NE(fab->layer()->animationForKey("rotationAnimation"), nullptr);

  const UIColor red = UIColor::colorWithRed(1, 0, 0, 1);
  broadcastPreferences({{"FABBgColor", Foundation::Value::color(red)},
                        {"ButtonSize", Foundation::Value::integer(3)},
                        {"Origin", Foundation::Value::point({10, 30})},
                        {"FeedbackStyle", Foundation::Value::integer(2)},
                        {"ShouldAnimateFAB", Foundation::Value::boolean(false)}});
  EXPECT_EQ(fab->frame(), CGRectMake(150, 367, 75, 75));
  EXPECT_EQ(fab->backgroundColor(), UIColor::colorWithRed(1, 1, 1, 0.3));
  EXPECT_EQ(haptics, std::vector<std::int32_t>{0});

  helper->dismissAlert();
  device.runFor(kFade);
  ASSERT_TRUE(idle());
  helper->displayAlertWithBlock({});
  const auto next = helper->FAB();
  EXPECT_EQ(next->frame(), CGRectMake(10, 30, 100, 100));
  EXPECT_EQ(next->backgroundColor(), red);
  EXPECT_EQ(next->layer()->animationForKey("rotationAnimation"), nullptr);
  EXPECT_EQ(haptics, (std::vector<std::int32_t>{0, 1}));
}

}  // namespace
