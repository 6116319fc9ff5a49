// The floating button: its look, the lock image and its failures, the rotation, and the two
// drag notifications as seen through real drags on the device's touch screen.
#include "UIKit/UIColor.h"
#include "VXCommon/VXFab.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Foundation/NSFileManager.h"
#include "QuartzCore/CABasicAnimation.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UITouchInput.h"
#include "UIKit/UIWindow.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"

namespace {

using overlay_test::broadcastPreferences;
using overlay_test::LogCapture;
using overlay_test::NotificationRecorder;

const UIColor kTranslucentWhite = UIColor::colorWithRed(1, 1, 1, 0.3);

CGPoint centreOf(const CGRect& r) {
  return {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2};
}

class VXFabTest : public ::testing::Test {
 protected:
  // A full-screen window, shown, to put buttons on.
  std::shared_ptr<UIWindow> showWindow() {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    window->setHidden(false);
    return window;
  }

  // A drag on the button: began, `steps` changed events sharing `movement`, then ended or
  // cancelled.
  void dragButton(const VXFab& fab, CGPoint movement, int steps, bool cancel = false) {
    input.beginPan(centreOf(fab.frame()));
    for (int i = 0; i < steps; ++i) input.changePan({movement.x / steps, movement.y / steps});
    if (cancel) {
      input.cancelPan();
    } else {
      input.endPan();
    }
  }

  ScopedTestDevice device;
  LogCapture log;
  UITouchInput input{device.device()};
};

TEST_F(VXFabTest, NewButtonLooksAsConfigured) {
  auto fab = VXFab::initializeFabWithColor(kTranslucentWhite, 2, {10, 10}, false);
  EXPECT_EQ(fab->className(), "VXFab");
  EXPECT_EQ(fab->frame(), CGRectMake(10, 10, 75, 75));
  EXPECT_EQ(fab->frame(), VXFab::FABFrame());
  EXPECT_EQ(fab->backgroundColor(), kTranslucentWhite);
  EXPECT_TRUE(fab->clipsToBounds());
  EXPECT_EQ(fab->layer()->borderWidth(), 2.0);
  EXPECT_EQ(fab->layer()->borderColor(), UIColor::blackColor());
  EXPECT_TRUE(fab->isUserInteractionEnabled());
  EXPECT_EQ(fab->alpha(), 1.0);
  EXPECT_EQ(fab->transform(), CGAffineTransformIdentity);
  ASSERT_EQ(fab->gestureRecognizers().size(), 1u);
  EXPECT_NE(std::dynamic_pointer_cast<UIPanGestureRecognizer>(fab->gestureRecognizers()[0]),
            nullptr);
  EXPECT_EQ(log.lines().front(),
            "<VX> VXFab.cpp:19 +[VXFab initializeFabWithColor:size:origin:animate:] "
            "VXFab initialized");
}

TEST_F(VXFabTest, CornerRadiusIsHalfTheSide) {
  const struct {
    std::int32_t scaleType;
    double radius;
  } cases[] = {{2, 37.5}, {0, 25.0}, {1, 25.0}, {3, 50.0}};
  for (const auto& c : cases) {
    auto fab = VXFab::initWithColor(kTranslucentWhite, c.scaleType, {10, 10}, false);
    EXPECT_EQ(fab->layer()->cornerRadius(), c.radius) << "scale type " << c.scaleType;
  }
}

TEST_F(VXFabTest, DestructionLogsItsLine) {
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {10, 10}, false);
  log.clear();
  fab.reset();
  EXPECT_EQ(log.lines(),
            std::vector<std::string>{"<VX> VXFab.cpp:99 -[VXFab dealloc] VXFab deallocated"});
}

TEST_F(VXFabTest, RotatesOnlyWhenAnimatedAndOnlyFor150Seconds) {
  auto still = VXFab::initWithColor(kTranslucentWhite, 2, {10, 10}, false);
  EXPECT_TRUE(still->layer()->animationKeys().empty());

  auto spinning = VXFab::initWithColor(kTranslucentWhite, 2, {10, 10}, true);
  auto rotation = spinning->layer()->animationForKey("rotationAnimation");
  ASSERT_NE(rotation, nullptr);
  EXPECT_EQ(rotation->keyPath(), "transform.rotation");
  EXPECT_EQ(rotation->fromValue(), Foundation::Value::integer(0));
  EXPECT_EQ(rotation->toValue(), Foundation::Value::real(6.283185307179586));
  EXPECT_EQ(rotation->duration(), 1.5);
  EXPECT_EQ(rotation->repeatCount(), 100.0f);

  device.runFor(0.375);  // a quarter turn
  EXPECT_NEAR(spinning->layer()->presentationRotationAtTime(device.device().now()),
              6.283185307179586 / 4, 1e-9);
  // Presentation only: the frame and transform do not turn.
  EXPECT_EQ(spinning->frame(), CGRectMake(10, 10, 75, 75));
  EXPECT_EQ(spinning->transform(), CGAffineTransformIdentity);
  device.runFor(149.0);
  EXPECT_NE(spinning->layer()->animationForKey("rotationAnimation"), nullptr);
  device.runFor(1.0);  // 150.375 s: ended and removed
  EXPECT_EQ(spinning->layer()->animationForKey("rotationAnimation"), nullptr);
  EXPECT_EQ(spinning->layer()->presentationRotationAtTime(device.device().now()), 0.0);
}

// ---- lock image ------------------------------------------------------------------------------

TEST_F(VXFabTest, MissingFolderLogsOnlyThatTheFileDoesNotExist) {
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {10, 10}, false);
  EXPECT_EQ(fab->backgroundImageForState(UIControlStateNormal), nullptr);
  EXPECT_EQ(log.lines(),
            std::vector<std::string>{"<VX> VXFab.cpp:193 -[VXFab lockImage] file doesn't exist"});
}

TEST_F(VXFabTest, FolderWithoutReadableImageLogsTheReadError) {
  NSFileManager::defaultManager().createDirectoryAtPath(overlay_test::kImageFolder);
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {10, 10}, false);
  EXPECT_EQ(fab->backgroundImageForState(UIControlStateNormal), nullptr);
  ASSERT_EQ(log.lines().size(), 1u);
  const std::string prefix =
      "<VX> VXFab.cpp:183 -[VXFab lockImage] error loading image data. error ";
  EXPECT_EQ(log.lines()[0].substr(0, prefix.size()), prefix);
  EXPECT_GT(log.lines()[0].size(), prefix.size()) << "the error's description follows";
}

TEST_F(VXFabTest, DataThatIsNoImageLogsImageNotLoaded) {
  const std::string text = "not a picture";
  overlay_test::writeDeviceFile(
      device.device(), overlay_test::kLockImagePath,
      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {10, 10}, false);
  EXPECT_EQ(fab->backgroundImageForState(UIControlStateNormal), nullptr);
  EXPECT_EQ(log.lines(),
            std::vector<std::string>{"<VX> VXFab.cpp:190 -[VXFab lockImage] image not loaded"});
}

TEST_F(VXFabTest, RealImageBecomesTheBackgroundAndIsReadAfreshForEachButton) {
  overlay_test::writeDeviceFile(device.device(), overlay_test::kLockImagePath,
                                overlay_test::tinyRedPng());
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {10, 10}, false);
  auto image = fab->backgroundImageForState(UIControlStateNormal);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixelWidth(), 2);
  EXPECT_EQ(image->pixelAt(1, 1), 0xFFFF0000u);
  EXPECT_TRUE(log.lines().empty());

  NSFileManager::defaultManager().removeItemAtPath(overlay_test::kLockImagePath);
  auto next = VXFab::initWithColor(kTranslucentWhite, 2, {10, 10}, false);
  EXPECT_EQ(next->backgroundImageForState(UIControlStateNormal), nullptr);
  EXPECT_NE(fab->backgroundImageForState(UIControlStateNormal), nullptr) << "kept by the first";
}

// ---- dragging --------------------------------------------------------------------------------

TEST_F(VXFabTest, FinishedDragPostsStartForEveryEventButBeganThenOneEnd) {
  auto window = showWindow();
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {100, 300}, false);
  window->addSubview(fab);
  NotificationRecorder start("VXFab_Pan_Start");
  NotificationRecorder end("VXFab_Pan_End");

  input.beginPan(centreOf(fab->frame()));
  EXPECT_EQ(start.count(), 0u) << "began does nothing";
  for (int i = 0; i < 4; ++i) input.changePan({10, -5});
  EXPECT_EQ(start.count(), 4u);
  EXPECT_EQ(end.count(), 0u);
  input.endPan();
  EXPECT_EQ(start.count(), 5u);
  ASSERT_EQ(end.count(), 1u);

  EXPECT_EQ(fab->frame(), CGRectMake(140, 280, 75, 75));
  EXPECT_EQ(VXFab::FABFrame(), fab->frame());
  EXPECT_EQ(end.objects()[0], Foundation::Value::point({140, 280}));
  EXPECT_TRUE(start.objects()[0].isNull());
}

TEST_F(VXFabTest, EndPointIsTheClampedOrigin) {
  auto window = showWindow();
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {100, 300}, false);
  window->addSubview(fab);
  NotificationRecorder end("VXFab_Pan_End");
  dragButton(*fab, {-200, 0}, 2);  // -100 (to 0), then -100 judged on 0: back to 5
  ASSERT_EQ(end.count(), 1u);
  EXPECT_EQ(fab->frame(), CGRectMake(5, 300, 75, 75));
  EXPECT_EQ(end.objects()[0], Foundation::Value::point({5, 300}));
  EXPECT_EQ(VXFab::FABFrame().origin, CGPointMake(5, 300));
}

TEST_F(VXFabTest, CancelledDragPostsStartForTheCancelAndNoEnd) {
  auto window = showWindow();
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {100, 300}, false);
  window->addSubview(fab);
  NotificationRecorder start("VXFab_Pan_Start");
  NotificationRecorder end("VXFab_Pan_End");
  dragButton(*fab, {20, 20}, 2, /*cancel=*/true);
  EXPECT_EQ(start.count(), 3u);
  EXPECT_EQ(end.count(), 0u);
  // The button stays where the drag left it, and the record follows it.
  EXPECT_EQ(fab->frame(), CGRectMake(120, 320, 75, 75));
  EXPECT_EQ(VXFab::FABFrame(), fab->frame());
}

TEST_F(VXFabTest, NextButtonAppearsWhereTheDraggedOneWasLeftUntilABroadcast) {
  auto window = showWindow();
  auto fab = VXFab::initWithColor(kTranslucentWhite, 2, {100, 300}, false);
  window->addSubview(fab);
  dragButton(*fab, {30, 40}, 4);
  const CGRect left = fab->frame();
  ASSERT_EQ(left, CGRectMake(130, 340, 75, 75));
  fab->removeFromSuperview();
  fab.reset();

  // Another origin and size change nothing: the record decides.
  auto next = VXFab::initWithColor(kTranslucentWhite, 3, {10, 10}, false);
  EXPECT_EQ(next->frame(), left);
  EXPECT_EQ(next->transform(), CGAffineTransformIdentity);

  broadcastPreferences();
  auto afresh = VXFab::initWithColor(kTranslucentWhite, 3, {10, 10}, false);
  EXPECT_EQ(afresh->frame(), CGRectMake(10, 10, 100, 100));
}

}  // namespace
