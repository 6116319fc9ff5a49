// The button geometry: side lengths, the default place and the check of a stored place as
// decisions, and the process-wide FABFrame that is computed once after start-up and after each
// preferences broadcast.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "UIKit/UIScreenHardware.h"
#include "VXCommon/VXFab.h"
#include "VXCommon/VXFabGeometry.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"

namespace {

using overlay_test::broadcastPreferences;
using overlay_test::LogCapture;

const std::string kOriginIsZeroLine =
    "<VX> VXFab.cpp:54 +[VXFab setFABFrame:size:]_block_invoke "
    "origin is zero, will display at default";
const std::string kOffScreenLine =
    "<VX> VXFab.cpp:57 +[VXFab setFABFrame:size:]_block_invoke "
    "screen doesn't contains FAB's frame";

class VXFabGeometryTest : public ::testing::Test {
 protected:
  void setScreen(double width, double height) {
    UIScreenHardware::of(device.device()).setBoundsSize(CGSizeMake(width, height));
  }

  ScopedTestDevice device;  // a fresh home-screen process: FABFrame not yet computed
  LogCapture log;
};

TEST(VXFabSideForScaleTypeTest, DependsOnScaleTypesTwoAndThreeOnly) {
  const struct {
    std::int32_t scaleType;
    float side;
  } cases[] = {
      {2, 75.0f},  {3, 100.0f},        {0, 50.0f},         {1, 50.0f},   {4, 50.0f},
      {-1, 50.0f}, {INT32_MIN, 50.0f}, {INT32_MAX, 50.0f}, {258, 50.0f},  // 2 in its low byte: only
                                                                          // the whole value counts
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VXFabSideForScaleType(c.scaleType), c.side) << "scale type " << c.scaleType;
  }
}

TEST(VXFabDefaultOriginTest, CentredFourSidesAboveTheBottom) {
  const struct {
    CGSize screen;
    float side;
    CGPoint origin;
  } cases[] = {
      {{375, 667}, 75, {150.0, 367.0}},
      {{375, 667}, 50, {162.5, 467.0}},
      {{375, 667}, 100, {137.5, 267.0}},
      {{414, 896}, 75, {169.5, 596.0}},
      {{320, 568}, 50, {135.0, 368.0}},
      {{1024, 1366}, 100, {462.0, 966.0}},
      {{80, 80}, 100, {-10.0, -320.0}},  // a screen smaller than the button
      // A side that is no single-precision product of itself: the products are formed in
      // single precision (0.1f × -0.5f, 0.1f × -4.0f) and widened, the sums in double.
      {{375, 667},
       0.1f,
       {187.5 + static_cast<double>(0.1f * -0.5f), 667.0 + static_cast<double>(0.1f * -4.0f)}},
      // An odd screen width in double: halved in double, not narrowed.
      {{375.1, 667.1}, 50, {375.1 * 0.5 - 25.0, 667.1 - 200.0}},
  };
  for (const auto& c : cases) {
    const CGPoint origin = VXFabDefaultOrigin(c.side, c.screen);
    EXPECT_EQ(origin.x, c.origin.x)
        << c.screen.width << "x" << c.screen.height << " side " << c.side;
    EXPECT_EQ(origin.y, c.origin.y)
        << c.screen.width << "x" << c.screen.height << " side " << c.side;
  }
}

TEST(VXFabPlaceTest, KeepsAStoredOriginOnlyWhenItIsSetAndOnScreen) {
  const CGRect phone = {{0, 0}, {375, 667}};
  const struct {
    const char* name;
    CGPoint origin;
    float side;
    CGRect screen;
    CGRect frame;
    bool originIsZero, offScreen;
  } cases[] = {
      {"zero origin", {0, 0}, 75, phone, {{150, 367}, {75, 75}}, true, false},
      {"stored and inside", {10, 10}, 75, phone, {{10, 10}, {75, 75}}, false, false},
      {"right edge at 405", {330, 10}, 75, phone, {{150, 367}, {75, 75}}, false, true},
      {"touching right and bottom edges",
       {300, 592},
       75,
       phone,
       {{300, 592}, {75, 75}},
       false,
       false},
      {"touching left and top edges", {0, 5}, 75, phone, {{0, 5}, {75, 75}}, false, false},
      {"one ulp past the right edge",
       {std::nextafter(300.0, 400.0), 592},
       75,
       phone,
       {{150, 367}, {75, 75}},
       false,
       true},
      {"half a point past the right edge",
       {300.5, 592},
       75,
       phone,
       {{150, 367}, {75, 75}},
       false,
       true},
      {"past the bottom edge", {10, 593}, 75, phone, {{150, 367}, {75, 75}}, false, true},
      {"one ulp past the left edge",
       {-0x1p-1074, 10},
       75,
       phone,
       {{150, 367}, {75, 75}},
       false,
       true},
      {"negative x", {-1, 10}, 75, phone, {{150, 367}, {75, 75}}, false, true},
      {"only x zero is a stored origin", {0, 300}, 50, phone, {{0, 300}, {50, 50}}, false, false},
      {"negative zero is zero", {-0.0, 0}, 50, phone, {{162.5, 467}, {50, 50}}, true, false},
      // Containment is judged on the bounds' origin too; the default place on their size only.
      {"screen not at the zero point",
       {10, 10},
       50,
       {{20, 0}, {375, 667}},
       {{162.5, 467}, {50, 50}},
       false,
       true},
      // A screen smaller than the button: the zero origin is off the screen as well.
      {"zero origin, button larger than screen",
       {0, 0},
       100,
       {{0, 0}, {80, 80}},
       {{-10, -320}, {100, 100}},
       true,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const VXFabPlacement placement = VXFabPlace(c.origin, c.side, c.screen);
    EXPECT_EQ(placement.frame, c.frame);
    EXPECT_EQ(placement.originIsZero, c.originIsZero);
    EXPECT_EQ(placement.offScreen, c.offScreen);
  }
}

// Through the class: the screen is asked anew on every call.
TEST_F(VXFabGeometryTest, DefaultOriginAsksTheMainScreen) {
  setScreen(414, 896);
  EXPECT_EQ(VXFab::defaultOriginWithScale(75), CGPointMake(169.5, 596.0));
  setScreen(375, 667);
  EXPECT_EQ(VXFab::defaultOriginWithScale(75), CGPointMake(150.0, 367.0));
  EXPECT_EQ(VXFab::sizeForScaleType(3), 100.0f);
  EXPECT_EQ(VXFab::screenBounds(), CGRectMake(0, 0, 375, 667));
}

// Each case runs in a fresh process, where the first setFABFrame computes, records and logs.
TEST(VXFabFrameComputationTest, RecordsThePlacementAndLogsEachReason) {
  const std::vector<std::string> none;
  const struct {
    const char* name;
    CGPoint origin;
    float side;
    CGSize screen;
    CGRect frame;
    std::vector<std::string> lines;
  } cases[] = {
      {"zero origin", {0, 0}, 75, {375, 667}, {{150, 367}, {75, 75}}, {kOriginIsZeroLine}},
      {"stored and inside", {10, 10}, 75, {375, 667}, {{10, 10}, {75, 75}}, none},
      {"right edge at 405", {330, 10}, 75, {375, 667}, {{150, 367}, {75, 75}}, {kOffScreenLine}},
      {"zero origin, button larger than screen",
       {0, 0},
       100,
       {80, 80},
       {{-10, -320}, {100, 100}},
       {kOriginIsZeroLine, kOffScreenLine}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTestDevice device;
    LogCapture log;
    UIScreenHardware::of(device.device()).setBoundsSize(c.screen);
    VXFab::setFABFrame(c.origin, c.side);
    EXPECT_EQ(VXFab::FABFrame(), c.frame);
    EXPECT_EQ(log.lines(), c.lines);
  }
}

TEST_F(VXFabGeometryTest, ComputesOnceUntilAPreferencesBroadcastRearmsIt) {
  VXFab::setFABFrame({10, 10}, 75);
  ASSERT_EQ(VXFab::FABFrame(), CGRectMake(10, 10, 75, 75));

  // Whatever the later calls pass, nothing changes and nothing is logged.
  VXFab::setFABFrame({0, 0}, 100);
  VXFab::setFABFrame({330, 10}, 50);
  VXFab::setFABFrame({20, 20}, 75);
  EXPECT_EQ(VXFab::FABFrame(), CGRectMake(10, 10, 75, 75));
  EXPECT_TRUE(log.lines().empty());

  broadcastPreferences();
  // The broadcast only re-arms: the record keeps its value until the next computation.
  EXPECT_EQ(VXFab::FABFrame(), CGRectMake(10, 10, 75, 75));
  VXFab::setFABFrame({0, 0}, 100);
  EXPECT_EQ(VXFab::FABFrame(), CGRectMake(137.5, 267, 100, 100));
  EXPECT_EQ(log.lines(), std::vector<std::string>{kOriginIsZeroLine});
  VXFab::setFABFrame({20, 20}, 75);
  EXPECT_EQ(VXFab::FABFrame(), CGRectMake(137.5, 267, 100, 100));

  // Several broadcasts in a row re-arm once; the values of the first call afterwards decide.
  broadcastPreferences();
  broadcastPreferences();
  NSNotificationCenter::defaultCenter().postNotificationName("VXPREFSUPDATED");  // no object
  VXFab::setFABFrame({20, 30}, 50);
  VXFab::setFABFrame({40, 40}, 50);
  EXPECT_EQ(VXFab::FABFrame(), CGRectMake(20, 30, 50, 50));
}

TEST_F(VXFabGeometryTest, EachProcessHasItsOwnRecordAndGuard) {
  VXFab::setFABFrame({10, 10}, 75);
  device.restart();  // a respring: the library starts afresh
  EXPECT_EQ(VXFab::FABFrame(), CGRectZero);
  VXFab::setFABFrame({20, 20}, 50);
  EXPECT_EQ(VXFab::FABFrame(), CGRectMake(20, 20, 50, 50));
  // The new process's own observer re-arms it.
  broadcastPreferences();
  VXFab::setFABFrame({30, 30}, 50);
  EXPECT_EQ(VXFab::FABFrame(), CGRectMake(30, 30, 50, 50));
}

}  // namespace
