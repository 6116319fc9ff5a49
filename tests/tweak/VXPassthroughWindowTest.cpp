// The overlay window: how it is set up, and that it takes only touches on the button.
#include "UIKit/UIColor.h"
#include "VXCommon/VXPassthroughWindow.h"

#include <gtest/gtest.h>

#include <memory>

#include "UIKit/UIButton.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UITouchInput.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIViewInspection.h"
#include "VXCommon/VXFab.h"
#include "support/ScopedTestDevice.h"

namespace {

class VXPassthroughWindowTest : public ::testing::Test {
 protected:
  // The application beneath: a full-screen window with one plain view.
  void showApplication() {
    app = UIWindow::initWithFrame(UIScreen::mainScreen().bounds());
    app->setRootViewController(std::make_shared<UIViewController>());
    app->setTintColor(UIColor::colorWithRed(0, 0.5, 1, 1));
    app->makeKeyAndVisible();
  }

  ScopedTestDevice device;
  UITouchInput input{device.device()};
  std::shared_ptr<UIWindow> app;
};

TEST_F(VXPassthroughWindowTest, NewWindowCoversTheScreenAboveAlertsAndIsSecure) {
  UIScreenHardware::of(device.device()).setBoundsSize({414, 896});
  showApplication();
  auto overlay = VXPassthroughWindow::initializeWindow();
  EXPECT_EQ(overlay->frame(), CGRectMake(0, 0, 414, 896));
  ASSERT_NE(overlay->rootViewController(), nullptr);
  EXPECT_EQ(overlay->rootViewController()->view()->superview(), overlay);
  EXPECT_EQ(overlay->windowLevel(), UIWindowLevelAlert + 1);
  EXPECT_FALSE(overlay->isHidden());
  EXPECT_FALSE(UIViewInspection::autorotates(*overlay));
  EXPECT_TRUE(UIViewInspection::isSecure(*overlay));
  EXPECT_EQ(overlay->tintColor(), UIColor::colorWithRed(0, 0.5, 1, 1));
  EXPECT_FALSE(overlay->isKeyWindow());

  {
    const auto windows = UIScreenHardware::of(device.device()).windowsFrontToBack();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].window, overlay) << "in front of the application";
  }

  overlay.reset();  // the last reference: off the screen
  EXPECT_EQ(UIScreenHardware::of(device.device()).windowsFrontToBack().size(), 1u);
}

TEST_F(VXPassthroughWindowTest, WithoutKeyWindowTheTintStaysUnset) {
  EXPECT_EQ(VXPassthroughWindow::initializeWindow()->tintColor(), std::nullopt);
  showApplication();
  app->setHidden(true);  // a hidden key window is no key window
  EXPECT_EQ(VXPassthroughWindow::initializeWindow()->tintColor(), std::nullopt);
}

TEST_F(VXPassthroughWindowTest, OnlyTouchesOnTheButtonStayInTheOverlay) {
  showApplication();
  auto overlay = VXPassthroughWindow::initializeWindow();
  auto fab = VXFab::initWithColor(UIColor::whiteColor(), 2, {150, 367}, false);
  overlay->addSubview(fab);
  auto other = UIButton::initWithFrame(CGRectMake(10, 100, 75, 75));  // any other view
  overlay->addSubview(other);

  EXPECT_EQ(input.hitTest({160, 370}).view, fab);
  EXPECT_EQ(input.hitTest({160, 370}).window, overlay);
  EXPECT_EQ(input.hitTest({150, 367}).view, fab) << "top-left corner is on the button";
  // One point outside the button on every side: through to the application.
  for (const CGPoint point :
       {CGPoint{149, 400}, CGPoint{225, 400}, CGPoint{180, 366}, CGPoint{180, 442}}) {
    EXPECT_EQ(input.hitTest(point).window, app) << point.x << "," << point.y;
  }
  EXPECT_EQ(input.hitTest({20, 110}).window, app) << "another view of the overlay";
  EXPECT_EQ(input.hitTest({300, 20}).window, app) << "the root view controller's view";
  // The base's answer there is the root view; the overlay turns it down.
  EXPECT_EQ(overlay->UIWindow::hitTest({300, 20}, nullptr), overlay->rootViewController()->view());
  EXPECT_EQ(overlay->hitTest({300, 20}, nullptr), nullptr);

  // A button that takes no touches is no target either.
  fab->setAlpha(0);
  EXPECT_EQ(input.hitTest({160, 370}).window, app);
  fab->setAlpha(1);
  fab->setUserInteractionEnabled(false);
  EXPECT_EQ(input.hitTest({160, 370}).window, app);
}

}  // namespace
