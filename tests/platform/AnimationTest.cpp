// View animation on the virtual clock: model values at once, completions when the time has
// passed, presentation along the curve, and no touches meanwhile unless allowed.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Device/Device.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UITouchInput.h"
#include "UIKit/UIViewInspection.h"
#include "UIKit/UIWindow.h"
#include "support/ScopedTestDevice.h"

namespace {

// The duration the overlay fades with: 0.2 in single precision.
constexpr double kFadeSeconds = static_cast<double>(0.2f);

class AnimationTest : public ::testing::Test {
 protected:
  AnimationTest() {
    window = UIWindow::initWithFrame(UIScreen::mainScreen().bounds());
    button = UIButton::initWithFrame(CGRectMake(150, 367, 75, 75));
    window->addSubview(button);
    window->setHidden(false);
  }
  bool buttonTakesTouch() { return input.hitTest(CGPointMake(180, 400)).view == button; }

  ScopedTestDevice device;
  UITouchInput input{device.device()};
  std::shared_ptr<UIWindow> window;
  std::shared_ptr<UIButton> button;
};

TEST_F(AnimationTest, ModelChangesAtOnceAndCompletionRunsWhenTheTimeHasPassed) {
  device.runFor(3.0);
  std::vector<std::pair<double, bool>> completions;
  UIView::animateWithDuration(
      kFadeSeconds, 0.5, UIViewAnimationOptionCurveEaseIn, [&] { button->setAlpha(0.25); },
      [&](bool finished) { completions.emplace_back(device.device().now(), finished); });
  EXPECT_EQ(button->alpha(), 0.25);
  EXPECT_TRUE(completions.empty());  // never synchronously

  device.device().runUntil(3.0 + 0.5 + kFadeSeconds - 1e-9);
  EXPECT_TRUE(completions.empty());
  device.device().runUntil(3.0 + 0.5 + kFadeSeconds);
  ASSERT_EQ(completions.size(), 1u);
  EXPECT_EQ(completions[0].first, 3.0 + 0.5 + kFadeSeconds);
  EXPECT_TRUE(completions[0].second);

  // Nothing animated still completes after the duration; no duration completes on the next
  // turn of the run loop.
  UIView::animateWithDuration(
      kFadeSeconds, 0, 0, [] {}, [&](bool f) { completions.emplace_back(1, f); });
  UIView::animateWithDuration(
      0, 0, 0, [&] { button->setAlpha(1); }, [&](bool f) { completions.emplace_back(2, f); });
  EXPECT_EQ(completions.size(), 1u);
  device.runFor(0);
  ASSERT_EQ(completions.size(), 2u);
  EXPECT_EQ(completions[1].first, 2);
  device.runFor(kFadeSeconds);
  ASSERT_EQ(completions.size(), 3u);
  EXPECT_EQ(completions[2].first, 1);
}

TEST_F(AnimationTest, ChainedCompletionsFollowEachOther) {
  // The settings header: the upper label fades in over 0.5 s, then the lower one.
  auto upper = UIView::initWithFrame(CGRectZero);
  auto lower = UIView::initWithFrame(CGRectZero);
  upper->setAlpha(0);
  lower->setAlpha(0);
  UIView::animateWithDuration(
      0.5, [&] { upper->setAlpha(1); },
      [&](bool) { UIView::animateWithDuration(0.5, [&] { lower->setAlpha(1); }); });
  device.runFor(0.25);
  EXPECT_GT(UIViewInspection::presentationAlphaAtTime(*upper, 0.25), 0);
  EXPECT_LT(UIViewInspection::presentationAlphaAtTime(*upper, 0.25), 1);
  EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*lower, 0.25), 0);
  EXPECT_FALSE(UIViewInspection::alphaAnimation(*lower).has_value());
  device.runFor(0.5);
  EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*upper, 0.75), 1);
  EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*lower, 0.5),
            0);  // started when the first ended
  EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*lower, 1.0), 1);
  EXPECT_GT(UIViewInspection::presentationAlphaAtTime(*lower, 0.99), 0.9);
}

TEST_F(AnimationTest, AnimatingWithoutAllowUserInteractionTakesNoTouchesUntilTheEnd) {
  struct Case {
    UIViewAnimationOptions options;
    bool touchesDuring;
  } cases[] = {
      {UIViewAnimationOptionCurveEaseIn, false},
      {0, false},
      {UIViewAnimationOptionAllowUserInteraction, true},
      {UIViewAnimationOptionAllowUserInteraction | UIViewAnimationOptionCurveEaseOut, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const double start = device.device().now();
    bool completed = false;
    UIView::animateWithDuration(
        kFadeSeconds, 0, c.options, [&] { button->setAlpha(1); }, [&](bool) { completed = true; });
    EXPECT_EQ(buttonTakesTouch(), c.touchesDuring);
    device.device().runUntil(start + kFadeSeconds / 2);
    EXPECT_EQ(buttonTakesTouch(), c.touchesDuring);
    device.device().runUntil(start + kFadeSeconds);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(buttonTakesTouch());
    device.runFor(1);
  }

  // Only the views the animation changes are blocked.
  auto other = UIButton::initWithFrame(CGRectMake(0, 0, 50, 50));
  window->addSubview(other);
  UIView::animateWithDuration(kFadeSeconds, 0, 0, [&] { button->setAlpha(0.5); }, {});
  EXPECT_FALSE(buttonTakesTouch());
  EXPECT_EQ(input.hitTest(CGPointMake(10, 10)).view, other);

  // A delayed animation blocks from its start, through the delay.
  device.runFor(1);
  UIView::animateWithDuration(kFadeSeconds, 1.0, 0,
                              [&] { button->setTransform(CGAffineTransformMakeTranslation(0, 0)); },
                              {});
  device.runFor(0.9);
  EXPECT_FALSE(buttonTakesTouch());
  device.runFor(0.5);
  EXPECT_TRUE(buttonTakesTouch());
}

TEST_F(AnimationTest, PresentationAlphaFollowsTheCurve) {
  struct Case {
    UIViewAnimationOptions curve;
    double lowAtHalf, highAtHalf;
  } cases[] = {
      {UIViewAnimationOptionCurveLinear, 0.5, 0.5},
      {UIViewAnimationOptionCurveEaseIn, 0.2, 0.4},     // slow start
      {UIViewAnimationOptionCurveEaseOut, 0.6, 0.8},    // slow end
      {UIViewAnimationOptionCurveEaseInOut, 0.5, 0.5},  // symmetric
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.curve);
    button->setAlpha(0);
    const double t0 = device.device().now();
    UIView::animateWithDuration(1.0, 0.5, c.curve, [&] { button->setAlpha(1); }, {});
    EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*button, t0), 0);
    EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*button, t0 + 0.5), 0);  // the delay
    EXPECT_NEAR(UIViewInspection::presentationAlphaAtTime(*button, t0 + 1.0),
                (c.lowAtHalf + c.highAtHalf) / 2, (c.highAtHalf - c.lowAtHalf) / 2 + 1e-6);
    EXPECT_LT(UIViewInspection::presentationAlphaAtTime(*button, t0 + 0.6),
              UIViewInspection::presentationAlphaAtTime(*button, t0 + 1.4));
    EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*button, t0 + 1.5), 1);
    ASSERT_TRUE(UIViewInspection::alphaAnimation(*button).has_value());
    EXPECT_EQ(UIViewInspection::alphaAnimation(*button)->curve, c.curve);
    device.runFor(2);
  }

  // A fade-out started halfway through a fade-in starts from the presented value.
  button->setAlpha(0);
  const double t0 = device.device().now();
  UIView::animateWithDuration(1.0, 0, UIViewAnimationOptionCurveLinear,
                              [&] { button->setAlpha(1); }, {});
  device.runFor(0.5);
  UIView::animateWithDuration(1.0, 0, UIViewAnimationOptionCurveLinear,
                              [&] { button->setAlpha(0); }, {});
  EXPECT_NEAR(UIViewInspection::presentationAlphaAtTime(*button, t0 + 0.5), 0.5, 1e-12);
  EXPECT_NEAR(UIViewInspection::presentationAlphaAtTime(*button, t0 + 1.0), 0.25, 1e-12);

  // A change outside an animation shows at once.
  button->setAlpha(0.75);
  EXPECT_FALSE(UIViewInspection::alphaAnimation(*button).has_value());
  EXPECT_EQ(UIViewInspection::presentationAlphaAtTime(*button, t0 + 0.6), 0.75);
}

}  // namespace
