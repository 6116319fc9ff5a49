// Drag clamping: the margins (5 points left, right and bottom, 20 at the top) are judged in
// single precision on the frame from before each drag event.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "UIKit/UIColor.h"
#include "UIKit/UIGestureRecognizerDelivery.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIScreenHardware.h"
#include "VXCommon/VXFab.h"
#include "VXCommon/VXFabGeometry.h"
#include "support/ScopedTestDevice.h"

namespace {

class VXFabClampTest : public ::testing::Test {
 protected:
  VXFabClampTest() {
    fab = VXFab::initWithColor(UIColor::whiteColor(), 2, {10, 10}, false);
    pan = std::dynamic_pointer_cast<UIPanGestureRecognizer>(fab->gestureRecognizers().at(0));
  }

  // One drag event carrying `movement`, as the platform delivers it; returns the frame after.
  CGRect drag(CGPoint movement, UIGestureRecognizerState state = UIGestureRecognizerStateChanged) {
    pan->addTranslationInWindow(movement);
    UIGestureRecognizerDelivery::deliverState(*pan, state);
    return fab->frame();
  }

  ScopedTestDevice device;  // 375 × 667 points
  std::shared_ptr<VXFab> fab;
  std::shared_ptr<UIPanGestureRecognizer> pan;
};

// The decision alone, from the frame read before an event, on a 375 × 667 screen.
TEST(VXFabClampedFrameTest, ClampsAtAndAroundEachMarginInSinglePrecision) {
  const CGSize screen = {375, 667};
  // One single-precision step either side of a value, widened.
  const auto below = [](float v) { return static_cast<double>(std::nextafter(v, -1e9f)); };
  const auto above = [](float v) { return static_cast<double>(std::nextafter(v, 1e9f)); };
  const std::optional<CGRect> stays;
  const struct {
    const char* name;
    CGRect before;
    std::optional<CGRect> after;
  } cases[] = {
      // Left margin at 5: x < 5.
      {"left, past", {{3, 300}, {75, 75}}, CGRect{{5, 300}, {75, 75}}},
      {"left, exactly on it", {{5, 300}, {75, 75}}, stays},
      {"left, one ulp past", {{below(5), 300}, {75, 75}}, CGRect{{5, 300}, {75, 75}}},
      {"left, one ulp inside", {{above(5), 300}, {75, 75}}, stays},
      {"left, a hair past in double, on it in single", {{4.9999999, 300}, {75, 75}}, stays},
      {"left, just past in single", {{4.9999, 300}, {75, 75}}, CGRect{{5, 300}, {75, 75}}},
      // Right margin at 370: x + w > W - 5.
      {"right, edge at 375", {{300, 300}, {75, 75}}, CGRect{{295, 300}, {75, 75}}},
      {"right, exactly on it", {{295, 300}, {75, 75}}, stays},
      {"right, one ulp past", {{above(295), 300}, {75, 75}}, CGRect{{295, 300}, {75, 75}}},
      {"right, one ulp inside", {{below(295), 300}, {75, 75}}, stays},
      {"right, a hair past in double, on it in single", {{295.00001, 300}, {75, 75}}, stays},
      {"right, just past in single", {{295.001, 300}, {75, 75}}, CGRect{{295, 300}, {75, 75}}},
      // Top margin at 20: y < 20.
      {"top, past", {{100, 12}, {75, 75}}, CGRect{{100, 20}, {75, 75}}},
      {"top, exactly on it", {{100, 20}, {75, 75}}, stays},
      {"top, one ulp past", {{100, below(20)}, {75, 75}}, CGRect{{100, 20}, {75, 75}}},
      {"top, one ulp inside", {{100, above(20)}, {75, 75}}, stays},
      {"top, a hair past in double, on it in single", {{100, 19.9999999}, {75, 75}}, stays},
      // Bottom margin at 662: y + h > H - 5.
      {"bottom, edge at 665", {{100, 590}, {75, 75}}, CGRect{{100, 587}, {75, 75}}},
      {"bottom, exactly on it", {{100, 587}, {75, 75}}, stays},
      {"bottom, one ulp past", {{100, above(587)}, {75, 75}}, CGRect{{100, 587}, {75, 75}}},
      {"bottom, one ulp inside", {{100, below(587)}, {75, 75}}, stays},
      {"bottom, a hair past in double, on it in single", {{100, 587.00001}, {75, 75}}, stays},
      // Both axes at once; a clamped axis takes the other's coordinate in single precision.
      {"top left corner", {{3, 12}, {75, 75}}, CGRect{{5, 20}, {75, 75}}},
      {"bottom right corner", {{300, 590}, {75, 75}}, CGRect{{295, 587}, {75, 75}}},
      {"left, y narrowed", {{3, 300.1}, {75, 75}}, CGRect{{5, double(300.1f)}, {75, 75}}},
      {"top, size narrowed", {{100, 12}, {75.1, 75.1}}, CGRect{{100, 20}, {75.1f, 75.1f}}},
      // Wider or taller than the screen inside its margins: both rules of an axis hold, and
      // the right and bottom ones win.
      {"both horizontal rules", {{-10, 300}, {400, 75}}, CGRect{{-30, 300}, {400, 75}}},
      {"both vertical rules", {{100, 10}, {75, 700}}, CGRect{{100, -38}, {75, 700}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VXFabClampedFrame(c.before, screen), c.after);
  }
  // The screen's size is taken to single precision too.
  EXPECT_EQ(VXFabClampedFrame({{295.00001, 300}, {75, 75}}, {375.000001, 667}), std::nullopt);
  EXPECT_EQ(VXFabClampedFrame({{295, 300}, {75, 75}}, {below(375), 667}),
            CGRectMake(static_cast<double>(below(375) - 80.0f), 300, 75, 75));
}

// Through the button: the drag handler puts the button where the decision says.
TEST_F(VXFabClampTest, DragHandlerAppliesTheDecision) {
  const struct {
    const char* name;
    CGRect before;
    CGPoint movement;
    CGRect after;
  } cases[] = {
      {"top left corner", {{3, 12}, {75, 75}}, {0, 0}, {{5, 20}, {75, 75}}},
      {"bottom right corner", {{300, 590}, {75, 75}}, {0, 0}, {{295, 587}, {75, 75}}},
      {"on the margin in single",
       {{4.9999999, 300}, {75, 75}},
       {0, 0},
       {{4.9999999, 300}, {75, 75}}},
      // A clamped event discards its own movement on both axes; an unclamped one keeps it.
      {"clamped, movement discarded", {{3, 300}, {75, 75}}, {10, 10}, {{5, 300}, {75, 75}}},
      {"inside, moved", {{100, 300}, {75, 75}}, {10, -10}, {{110, 290}, {75, 75}}},
      // The rules see only the old frame: a move onto or past a margin is not clamped yet.
      {"moved past the left margin", {{10, 300}, {75, 75}}, {-20, 0}, {{-10, 300}, {75, 75}}},
      {"moved past the bottom margin", {{100, 580}, {75, 75}}, {0, 50}, {{100, 630}, {75, 75}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fab->setFrame(c.before);
    EXPECT_EQ(drag(c.movement), c.after);
  }
}

TEST_F(VXFabClampTest, ScreenIsAskedAnewForEachEvent) {
  UIScreenHardware::of(device.device()).setBoundsSize({414, 896});
  fab->setFrame({{340, 820}, {75, 75}});  // right edge 415 > 409, bottom 895 > 891
  EXPECT_EQ(drag({0, 0}), CGRectMake(334, 816, 75, 75));
  UIScreenHardware::of(device.device()).setBoundsSize({375, 667});
  EXPECT_EQ(drag({0, 0}), CGRectMake(295, 587, 75, 75));
}

TEST_F(VXFabClampTest, FastDragPassesAMarginOnceThenIsPutBack) {
  fab->setFrame({{10, 300}, {75, 75}});
  std::vector<CGRect> frames;
  for (int i = 0; i < 4; ++i) frames.push_back(drag({-20, 3}));
  const std::vector<CGRect> expected = {
      {{-10, 303}, {75, 75}},  // judged on x = 10: moved past the margin
      {{5, 303}, {75, 75}},    // judged on x = -10: back on the margin, movement discarded
      {{-15, 306}, {75, 75}},  // judged on x = 5: moved again
      {{5, 306}, {75, 75}},
  };
  EXPECT_EQ(frames, expected);
  // The lifting finger carries no movement: a frame past the margin is put back by it.
  drag({-20, 0});
  EXPECT_EQ(drag({0, 0}, UIGestureRecognizerStateEnded), CGRectMake(5, 306, 75, 75));
}

TEST_F(VXFabClampTest, EachEventCarriesOnlyItsOwnMovement) {
  fab->setFrame({{100, 300}, {75, 75}});
  drag({10, 0});
  drag({10, 0});
  EXPECT_EQ(drag({0, 0}), CGRectMake(120, 300, 75, 75));
  EXPECT_EQ(pan->translationInView(fab), CGPointZero);
  // The drag works through the transform and the frame follows it on screen.
  EXPECT_EQ(fab->transform(), CGAffineTransformMakeTranslation(20, 0));
}

}  // namespace
