// Views, windows, controls, layers and haptics of the UIKit / QuartzCore / CoreGraphics
// stand-ins.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "Device/Device.h"
#include "Device/Process.h"
#include "QuartzCore/CABasicAnimation.h"
#include "QuartzCore/CALayer.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImpactFeedbackGenerator.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UIView.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIViewInspection.h"
#include "UIKit/UIWindow.h"
#include "support/ScopedTestDevice.h"

namespace {

struct EventLog {
  explicit EventLog(Device& device, std::string name) : device_(device) {
    token_ = device.subscribe([this, name](const DeviceEvent& event) {
      if (event.name == name) events.push_back(event);
    });
  }
  ~EventLog() { device_.unsubscribe(token_); }
  Device& device_;
  int token_;
  std::vector<DeviceEvent> events;
};

std::string text(const DeviceEvent& event, const char* key) {
  const EventValue value = event.fields.value(key);
  return value.stringValue() ? *value.stringValue() : "";
}

double number(const DeviceEvent& event, const char* key) {
  return event.fields.value(key).doubleValue();
}

TEST(CGGeometryTest, ContainsRectCountsTouchingEdgesAsInside) {
  const CGRect screen = CGRectMake(0, 0, 375, 667);
  struct Case {
    CGRect inner;
    bool contained;
  } cases[] = {
      {CGRectMake(0, 0, 375, 667), true},    // the same rectangle
      {CGRectMake(300, 592, 75, 75), true},  // touching right and bottom edges
      {CGRectMake(0, 0, 75, 75), true},      // touching left and top edges
      {CGRectMake(10, 10, 75, 75), true},
      {CGRectMake(330, 10, 75, 75), false},     // right edge at 405
      {CGRectMake(300.5, 592, 75, 75), false},  // half a point past the right edge
      {CGRectMake(-0.5, 10, 75, 75), false},
      {CGRectMake(10, -1, 75, 75), false},
      {CGRectMake(10, 592.25, 75, 75), false},
      {CGRectMake(375, 667, 0, 0), true},      // an empty rectangle on the far corner
      {CGRectMake(375, 667, -75, -75), true},  // negative sizes are read as their extent
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CGRectContainsRect(screen, c.inner), c.contained)
        << c.inner.origin.x << "," << c.inner.origin.y << " " << c.inner.size.width;
  }
}

TEST(UIViewGeometryTest, TranslationMovesTheFrameAndSetFrameIsExact) {
  ScopedTestDevice device;
  auto view = UIView::initWithFrame(CGRectMake(150, 367, 75, 75));
  EXPECT_EQ(view->center(), CGPointMake(187.5, 404.5));
  EXPECT_EQ(view->bounds(), CGRectMake(0, 0, 75, 75));

  view->setTransform(CGAffineTransformTranslate(view->transform(), 10, -5));
  EXPECT_EQ(view->frame(), CGRectMake(160, 362, 75, 75));
  EXPECT_EQ(view->center(), CGPointMake(187.5, 404.5));  // the model centre stays

  // With a translation in place, setFrame still puts the view exactly on the rectangle, and
  // later translations move it from there.
  const CGRect odd = CGRectMake(0.1, 0.7, 75, 75);
  view->setFrame(odd);
  EXPECT_EQ(view->frame(), odd);
  EXPECT_EQ(view->transform(), CGAffineTransformMakeTranslation(10, -5));
  view->setTransform(CGAffineTransformTranslate(view->transform(), 3, 4));
  EXPECT_EQ(view->frame(), CGRectMake(0.1 + 3, 0.7 + 4, 75, 75));
  view->setTransform(CGAffineTransformIdentity);
  EXPECT_DOUBLE_EQ(view->frame().origin.x, 0.1 - 10);
  EXPECT_DOUBLE_EQ(view->frame().origin.y, 0.7 + 5);

  // A quarter turn about the centre: the frame is the turned rectangle's extent.
  auto bar = UIView::initWithFrame(CGRectMake(0, 0, 100, 50));
  bar->setTransform({0, 1, -1, 0, 0, 0});
  EXPECT_NEAR(bar->frame().origin.x, 25, 1e-12);
  EXPECT_NEAR(bar->frame().origin.y, -25, 1e-12);
  EXPECT_NEAR(bar->frame().size.width, 50, 1e-12);
  EXPECT_NEAR(bar->frame().size.height, 100, 1e-12);
  bar->setFrame(CGRectMake(0, 0, 20, 60));
  EXPECT_NEAR(bar->bounds().size.width, 60, 1e-12);
  EXPECT_NEAR(bar->bounds().size.height, 20, 1e-12);
}

TEST(UIViewHierarchyTest, TreeOwnershipMovesAndRefusesCycles) {
  ScopedTestDevice device;
  auto root = UIView::initWithFrame(CGRectMake(0, 0, 100, 100));
  auto a = UIView::initWithFrame(CGRectMake(10, 10, 50, 50));
  auto b = UIView::initWithFrame(CGRectMake(20, 20, 10, 10));
  root->addSubview(a);
  a->addSubview(b);
  EXPECT_EQ(b->superview(), a);
  EXPECT_TRUE(b->isDescendantOfView(root.get()));

  // Cycles are refused: nothing changes.
  b->addSubview(root);
  a->addSubview(a);
  EXPECT_EQ(root->superview(), nullptr);
  EXPECT_EQ(a->subviews().size(), 1u);

  // Adding to another superview moves the view.
  root->addSubview(b);
  EXPECT_TRUE(a->subviews().empty());
  EXPECT_EQ(root->subviews().back(), b);
  // insertSubview puts it at the back.
  root->insertSubview(b, 0);
  EXPECT_EQ(root->subviews().front(), b);

  // A removed view lives on while someone holds it; the superview holds no reference.
  std::weak_ptr<UIView> weakA = a;
  a->removeFromSuperview();
  a.reset();
  EXPECT_TRUE(weakA.expired());

  // A superview that goes away leaves its subviews without one.
  root.reset();
  EXPECT_EQ(b->superview(), nullptr);
  EXPECT_EQ(b->window(), nullptr);

  // Coordinates through the tree.
  auto window = UIWindow::initWithFrame(CGRectMake(0, 100, 375, 567));
  auto container = UIView::initWithFrame(CGRectMake(10, 20, 200, 200));
  auto leaf = UIView::initWithFrame(CGRectMake(5, 5, 20, 20));
  window->addSubview(container);
  container->addSubview(leaf);
  EXPECT_EQ(leaf->window(), window);
  EXPECT_EQ(leaf->convertPointToView(CGPointMake(1, 2), nullptr), CGPointMake(16, 27));
  EXPECT_EQ(leaf->convertPointFromView(CGPointMake(16, 27), nullptr), CGPointMake(1, 2));
  EXPECT_EQ(leaf->frameOnScreen(), CGRectMake(15, 125, 20, 20));
}

TEST(UIViewHierarchyTest, JoiningAndLeavingAWindowIsEmitted) {
  ScopedTestDevice device;
  EventLog log(device.device(), "view");
  auto window = UIWindow::initWithFrame(UIScreen::mainScreen().bounds());
  auto container = UIView::initWithFrame(CGRectMake(0, 0, 375, 667));
  auto button = UIButton::initWithFrame(CGRectMake(150, 367, 75, 75));

  container->addSubview(button);  // not in a window yet: nothing to report
  EXPECT_TRUE(log.events.empty());

  window->addSubview(button);
  ASSERT_EQ(log.events.size(), 1u);
  EXPECT_EQ(text(log.events[0], "op"), "added");
  EXPECT_EQ(text(log.events[0], "class"), "UIButton");
  EXPECT_EQ(number(log.events[0], "x"), 150);
  EXPECT_EQ(number(log.events[0], "y"), 367);
  EXPECT_EQ(number(log.events[0], "w"), 75);
  EXPECT_EQ(number(log.events[0], "h"), 75);

  window->addSubview(container);
  container->addSubview(button);  // a move inside the same window is no news
  ASSERT_EQ(log.events.size(), 2u);
  EXPECT_EQ(text(log.events[1], "class"), "UIView");

  button->removeFromSuperview();
  ASSERT_EQ(log.events.size(), 3u);
  EXPECT_EQ(text(log.events[2], "op"), "removed");
  EXPECT_EQ(text(log.events[2], "class"), "UIButton");
}

TEST(UIWindowTest, OnScreenWhileShownAndHeldStackedByLevelThenOrder) {
  ScopedTestDevice device;
  UIScreenHardware& screen = UIScreenHardware::current();
  EXPECT_EQ(screen.bounds(), CGRectMake(0, 0, 375, 667));
  UIScreenHardware::of(device.device()).setBoundsSize(CGSizeMake(414, 896));
  EXPECT_EQ(UIScreen::mainScreen().bounds(), CGRectMake(0, 0, 414, 896));

  auto app = UIWindow::initWithFrame(screen.bounds());
  EXPECT_TRUE(app->isHidden());  // windows start hidden
  EXPECT_TRUE(screen.windowsFrontToBack().empty());
  app->setHidden(false);

  auto overlay = UIWindow::initWithFrame(screen.bounds());
  overlay->setWindowLevel(UIWindowLevelAlert + 1);
  overlay->setHidden(false);
  auto alert = UIWindow::initWithFrame(screen.bounds());
  alert->setWindowLevel(UIWindowLevelAlert);
  alert->setHidden(false);  // shown last, but its level is lower
  auto second = UIWindow::initWithFrame(screen.bounds());
  second->setHidden(false);  // same level as app, shown later: in front of it

  auto order = [&] {
    std::vector<UIWindow*> windows;
    for (const auto& entry : screen.windowsFrontToBack()) windows.push_back(entry.window.get());
    return windows;
  };
  EXPECT_EQ(order(), (std::vector<UIWindow*>{overlay.get(), alert.get(), second.get(), app.get()}));

  app->setHidden(false);  // already shown: stays where it is
  EXPECT_EQ(order().back(), app.get());
  second->setHidden(true);
  alert.reset();  // nobody holds it: off the screen
  EXPECT_EQ(order(), (std::vector<UIWindow*>{overlay.get(), app.get()}));
  second->setHidden(false);  // shown again: in front of its level
  EXPECT_EQ(order(), (std::vector<UIWindow*>{overlay.get(), second.get(), app.get()}));

  // A window of a process that has ended is off the screen with it.
  auto other = device.device().launch("Preferences");
  std::shared_ptr<UIWindow> foreign;
  {
    ProcessScope scope(*other);
    foreign = UIWindow::initWithFrame(screen.bounds());
    foreign->setWindowLevel(UIWindowLevelStatusBar);
    foreign->setHidden(false);
  }
  EXPECT_EQ(order().size(), 4u);
  EXPECT_EQ(screen.windowsFrontToBack()[1].process.get(), other.get());
  device.device().terminate("Preferences");
  EXPECT_EQ(order().size(), 3u);
}

TEST(UIWindowTest, KeyWindowLookupAndPrivateSettings) {
  ScopedTestDevice device;
  EXPECT_EQ(UIWindow::valueForKey("keyWindow"), nullptr);
  auto window = UIWindow::initWithFrame(UIScreen::mainScreen().bounds());
  window->setTintColor(UIColor::colorWithRed(1, 0, 0, 1));
  window->makeKeyAndVisible();
  EXPECT_FALSE(window->isHidden());
  EXPECT_EQ(UIWindow::valueForKey("keyWindow"), window);
  EXPECT_EQ(UIWindow::valueForKey("keyWindow")->tintColor(), UIColor::colorWithRed(1, 0, 0, 1));
  EXPECT_EQ(UIWindow::valueForKey("windows"), nullptr);

  // Each process has its own key window.
  auto other = device.device().launch("Preferences");
  {
    ProcessScope scope(*other);
    EXPECT_EQ(UIWindow::valueForKey("keyWindow"), nullptr);
  }

  window->setHidden(true);
  EXPECT_EQ(UIWindow::valueForKey("keyWindow"), nullptr);
  window->setHidden(false);
  window.reset();
  EXPECT_EQ(UIWindow::valueForKey("keyWindow"), nullptr);

  auto overlay = UIWindow::initWithFrame(CGRectZero);
  EXPECT_TRUE(UIViewInspection::autorotates(*overlay));
  EXPECT_FALSE(UIViewInspection::isSecure(*overlay));
  EXPECT_FALSE(overlay->tintColor().has_value());
  overlay->setAutorotates(false);
  overlay->_setSecure(true);
  EXPECT_FALSE(UIViewInspection::autorotates(*overlay));
  EXPECT_TRUE(UIViewInspection::isSecure(*overlay));
}

TEST(UIWindowTest, RootViewControllerViewFillsTheWindowBehindOtherViews) {
  ScopedTestDevice device;
  auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
  auto button = UIButton::initWithFrame(CGRectMake(1, 2, 3, 4));
  window->addSubview(button);
  auto controller = std::make_shared<UIViewController>();
  window->setRootViewController(controller);
  ASSERT_EQ(window->subviews().size(), 2u);
  EXPECT_EQ(window->subviews().front(), controller->view());
  EXPECT_EQ(controller->view()->frame(), CGRectMake(0, 0, 375, 667));

  window->setRootViewController(std::make_shared<UIViewController>());
  EXPECT_EQ(window->subviews().size(), 2u);
  EXPECT_EQ(controller->view()->superview(), nullptr);
}

struct Receiver {
  void tapped(UIControl& sender) { senders.push_back(&sender); }
  void tappedWithoutSender() { ++bare; }
  std::vector<UIControl*> senders;
  int bare = 0;
};

TEST(UIControlTest, ActionsFollowTheirEventsAndTargetsAreNotKept) {
  ScopedTestDevice device;
  auto button = UIButton::initWithFrame(CGRectMake(0, 0, 50, 50));
  auto receiver = std::make_shared<Receiver>();
  button->addTarget(receiver, &Receiver::tapped, UIControlEventTouchUpInside);
  button->addTarget(receiver, &Receiver::tappedWithoutSender,
                    UIControlEventTouchUpInside | UIControlEventTouchDown);
  int downs = 0;
  button->addTarget([&downs](UIControl&) { ++downs; }, UIControlEventTouchDown);

  button->sendActionsForControlEvents(UIControlEventTouchDown);
  EXPECT_TRUE(receiver->senders.empty());
  EXPECT_EQ(receiver->bare, 1);
  EXPECT_EQ(downs, 1);
  button->sendActionsForControlEvents(UIControlEventTouchUpInside);
  ASSERT_EQ(receiver->senders.size(), 1u);
  EXPECT_EQ(receiver->senders[0], button.get());
  EXPECT_EQ(receiver->bare, 2);

  std::weak_ptr<Receiver> weakReceiver = receiver;
  receiver.reset();
  EXPECT_TRUE(weakReceiver.expired());                           // the button did not keep it
  button->sendActionsForControlEvents(UIControlEventAllEvents);  // and does not call it
  EXPECT_EQ(downs, 2);
}

TEST(UIImpactFeedbackGeneratorTest, EveryImpactIsEmittedWithItsStyle) {
  ScopedTestDevice device;
  EventLog log(device.device(), "haptic");
  for (std::int64_t style : {0, 1, 2, 1}) {
    UIImpactFeedbackGenerator::initWithStyle(style)->impactOccurred();
  }
  UIImpactFeedbackGenerator heavy(UIImpactFeedbackStyleHeavy);
  heavy.impactOccurred();
  std::vector<std::int64_t> styles;
  for (const auto& event : log.events) styles.push_back(event.fields.value("style").integerValue());
  EXPECT_EQ(styles, (std::vector<std::int64_t>{0, 1, 2, 1, 2}));
}

TEST(CALayerTest, RotationIsPresentationOnlyAndEndsAfterItsRepeats) {
  ScopedTestDevice device;
  device.runFor(1.0);
  auto button = UIButton::initWithFrame(CGRectMake(150, 367, 75, 75));
  button->setClipsToBounds(true);
  EXPECT_TRUE(button->layer()->masksToBounds());
  auto rotation = CABasicAnimation::animationWithKeyPath("transform.rotation");
  rotation->setFromValue(Foundation::Value::integer(0));
  rotation->setToValue(Foundation::Value::real(2 * std::numbers::pi));
  rotation->setDuration(1.5);
  rotation->setRepeatCount(100.0f);
  button->layer()->addAnimation(rotation, "rotationAnimation");
  rotation->setDuration(99);  // the layer keeps its own copy

  auto added = button->layer()->animationForKey("rotationAnimation");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->beginTime(), 1.0);
  EXPECT_EQ(added->duration(), 1.5);
  EXPECT_EQ(added->endTime(), 151.0);
  CALayer& layer = *button->layer();
  EXPECT_NEAR(layer.presentationRotationAtTime(1.75), std::numbers::pi, 1e-9);
  EXPECT_NEAR(layer.presentationRotationAtTime(1.0 + 1.5 * 7 + 0.375), std::numbers::pi / 2, 1e-9);
  EXPECT_EQ(layer.presentationRotationAtTime(151.0), 0);
  EXPECT_EQ(button->frame(), CGRectMake(150, 367, 75, 75));
  EXPECT_TRUE(CGAffineTransformIsIdentity(button->transform()));

  device.runFor(149.9);
  EXPECT_NE(layer.animationForKey("rotationAnimation"), nullptr);
  device.runFor(0.1);
  EXPECT_EQ(layer.animationForKey("rotationAnimation"), nullptr);  // removed on completion
  EXPECT_TRUE(layer.animationKeys().empty());

  // The same key replaces; removeAllAnimations clears.
  layer.addAnimation(rotation, "spin");
  layer.addAnimation(CABasicAnimation::animationWithKeyPath("opacity"), "spin");
  EXPECT_EQ(layer.animationForKey("spin")->keyPath(), "opacity");
  EXPECT_EQ(layer.animationForKey("spin")->effectiveDurationSeconds(), 0.25);
  layer.removeAllAnimations();
  EXPECT_EQ(layer.animationForKey("spin"), nullptr);
}

}  // namespace
