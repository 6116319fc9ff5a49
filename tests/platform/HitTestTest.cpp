// Hit testing and touch delivery: which view a touch reaches, through which window, and what
// taps and drags deliver.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Device/Device.h"
#include "Device/Process.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIEvent.h"
#include "UIKit/UIGestureRecognizerDelivery.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UITouchInput.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIWindow.h"
#include "support/ScopedTestDevice.h"

namespace {

// A window that lets through every touch that does not land on a button, as an overlay does.
class ButtonsOnlyWindow : public UIWindow {
 public:
  using UIWindow::UIWindow;
  std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event) override {
    auto view = UIWindow::hitTest(point, event);
    return std::dynamic_pointer_cast<UIButton>(view) ? view : nullptr;
  }
};

class HitTestTest : public ::testing::Test {
 protected:
  HitTestTest() {
    window = UIWindow::initWithFrame(UIScreen::mainScreen().bounds());
    container = UIView::initWithFrame(CGRectMake(100, 100, 200, 200));
    button = UIButton::initWithFrame(CGRectMake(50, 50, 75, 75));  // (150,150)-(225,225)
    window->addSubview(container);
    container->addSubview(button);
    window->setHidden(false);
  }
  std::shared_ptr<UIView> at(double x, double y) {
    return window->hitTest(CGPointMake(x, y), nullptr);
  }

  ScopedTestDevice device;
  std::shared_ptr<UIWindow> window;
  std::shared_ptr<UIView> container;
  std::shared_ptr<UIButton> button;
};

TEST_F(HitTestTest, DeepestViewContainingThePointWithHalfOpenEdges) {
  EXPECT_EQ(at(160, 160), button);
  EXPECT_EQ(at(150, 150), button);     // minimum edges belong to the view
  EXPECT_EQ(at(225, 200), container);  // maximum edges do not
  EXPECT_EQ(at(149.5, 200), container);
  EXPECT_EQ(at(10, 10), window);
  EXPECT_EQ(at(-1, 10), nullptr);
  EXPECT_EQ(at(375, 10), nullptr);

  // A subview outside its superview's bounds cannot be reached through it.
  auto outside = UIButton::initWithFrame(CGRectMake(190, 0, 50, 50));
  container->addSubview(outside);
  EXPECT_EQ(at(295, 110), outside);
  EXPECT_EQ(at(310, 110), window);
}

TEST_F(HitTestTest, ViewsThatTakeNoTouchesLetTheTouchFallToTheirSuperview) {
  struct Case {
    const char* name;
    std::function<void(UIView&)> change;
    bool takesTouches;
  } cases[] = {
      {"hidden", [](UIView& v) { v.setHidden(true); }, false},
      {"alpha 0", [](UIView& v) { v.setAlpha(0); }, false},
      {"alpha 0.0099", [](UIView& v) { v.setAlpha(0.0099); }, false},
      {"alpha 0.01", [](UIView& v) { v.setAlpha(0.01); }, true},
      {"interaction off", [](UIView& v) { v.setUserInteractionEnabled(false); }, false},
      {"background clear", [](UIView& v) { v.setBackgroundColor(UIColor::clearColor()); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto probe = UIButton::initWithFrame(CGRectMake(0, 0, 20, 20));  // (100,100)-(120,120)
    container->addSubview(probe);
    c.change(*probe);
    EXPECT_EQ(at(110, 110), c.takesTouches ? probe : container);

    // The same on the superview shuts out its whole subtree.
    probe->removeFromSuperview();
    c.change(*container);
    EXPECT_EQ(at(160, 160), c.takesTouches ? std::shared_ptr<UIView>(button) : window);
    container->setHidden(false);
    container->setAlpha(1);
    container->setUserInteractionEnabled(true);
  }

  // Labels and image views take no touches until they are told to.
  auto label = UILabel::initWithFrame(CGRectMake(0, 0, 20, 20));
  auto image = UIImageView::initWithFrame(CGRectMake(30, 0, 20, 20));
  container->addSubview(label);
  container->addSubview(image);
  EXPECT_EQ(at(110, 110), container);
  EXPECT_EQ(at(140, 110), container);
  label->setUserInteractionEnabled(true);
  EXPECT_EQ(at(110, 110), label);
}

TEST_F(HitTestTest, FrontMostSubviewFirstAndTranslationsMoveTheTarget) {
  auto front = UIButton::initWithFrame(CGRectMake(60, 60, 75, 75));
  container->addSubview(front);
  EXPECT_EQ(at(170, 170), front);
  front->setHidden(true);
  EXPECT_EQ(at(170, 170), button);

  button->setTransform(CGAffineTransformMakeTranslation(-40, 0));  // now (110,150)-(185,225)
  EXPECT_EQ(at(112, 160), button);
  EXPECT_EQ(at(190, 160), container);
}

TEST_F(HitTestTest, TouchesGoToTheFrontMostWindowThatAnswersOrPassThrough) {
  UITouchInput input(device.device());
  auto overlay = std::make_shared<ButtonsOnlyWindow>(UIScreen::mainScreen().bounds());
  overlay->setRootViewController(std::make_shared<UIViewController>());
  auto fab = UIButton::initWithFrame(CGRectMake(150, 367, 75, 75));
  overlay->addSubview(fab);
  overlay->setWindowLevel(UIWindowLevelAlert + 1);
  overlay->setHidden(false);

  EXPECT_EQ(input.hitTest(CGPointMake(160, 370)).view, fab);
  EXPECT_EQ(input.hitTest(CGPointMake(160, 370)).window, overlay);
  // One point outside the button, and on the root view controller's view, the overlay lets
  // the touch through to the window beneath.
  EXPECT_EQ(input.hitTest(CGPointMake(149, 370)).view, window);
  EXPECT_EQ(input.hitTest(CGPointMake(225, 370)).view, window);
  EXPECT_EQ(input.hitTest(CGPointMake(160, 160)).view, button);

  // With nothing beneath, the touch passes through to the application.
  window->setHidden(true);
  EXPECT_TRUE(input.hitTest(CGPointMake(149, 370)).passedThrough());
  EXPECT_FALSE(input.hitTest(CGPointMake(150, 367)).passedThrough());

  // A button that takes no touches lets them through too.
  fab->setAlpha(0);
  EXPECT_TRUE(input.tap(CGPointMake(160, 370)).passedThrough());

  // Dropping the overlay takes it off the screen.
  fab->setAlpha(1);
  window->setHidden(false);
  overlay.reset();
  EXPECT_EQ(input.hitTest(CGPointMake(160, 370)).view, window);
}

TEST_F(HitTestTest, TapSendsTouchUpInsideToTheControlHitInItsProcess) {
  UITouchInput input(device.device());
  std::vector<std::string> received;
  button->addTarget(
      [&received](UIControl&) { received.push_back("down:" + Process::current().name()); },
      UIControlEventTouchDown);
  button->addTarget(
      [&received](UIControl&) { received.push_back("up:" + Process::current().name()); },
      UIControlEventTouchUpInside);

  // A label on the button takes no touches itself, so the button gets the tap.
  button->addSubview(UILabel::initWithFrame(CGRectMake(0, 0, 75, 20)));
  auto other = device.device().launch("Preferences");
  {
    ProcessScope scope(*other);
    EXPECT_EQ(input.tap(CGPointMake(151, 151)).view, button);
  }
  EXPECT_EQ(received, (std::vector<std::string>{"down:SpringBoard", "up:SpringBoard"}));

  input.tap(CGPointMake(120, 120));  // on the container: nothing to send
  button->setEnabled(false);
  EXPECT_EQ(input.tap(CGPointMake(151, 151)).view, button);
  EXPECT_EQ(received.size(), 2u);
}

struct Dragged {
  void pan(UIPanGestureRecognizer& recognizer) {
    states.push_back(recognizer.state());
    translations.push_back(recognizer.translationInView(recognizer.view()));
    if (resetEachTime) recognizer.setTranslation(CGPointZero, recognizer.view());
  }
  bool resetEachTime = false;
  std::vector<std::int64_t> states;
  std::vector<CGPoint> translations;
};

TEST_F(HitTestTest, PanDeliversBeganChangedEndedWithAccumulatedTranslation) {
  UITouchInput input(device.device());
  auto target = std::make_shared<Dragged>();
  button->addGestureRecognizer(UIPanGestureRecognizer::initWithTarget(target, &Dragged::pan));

  EXPECT_EQ(input.beginPan(CGPointMake(160, 160)).view, button);
  input.changePan(CGPointMake(10, 0));
  input.changePan(CGPointMake(5, -2.5));
  input.endPan();
  EXPECT_FALSE(input.isPanning());
  EXPECT_EQ(target->states, (std::vector<std::int64_t>{1, 2, 2, 3}));
  EXPECT_EQ(target->translations, (std::vector<CGPoint>{{0, 0}, {10, 0}, {15, -2.5}, {15, -2.5}}));

  // When the handler sets the translation back, each event carries its own movement only;
  // a moved view still reads movements unchanged.
  target->states.clear();
  target->translations.clear();
  target->resetEachTime = true;
  button->setTransform(CGAffineTransformMakeTranslation(30, 30));
  input.beginPan(CGPointMake(190, 190));
  input.changePan(CGPointMake(4, 4));
  input.changePan(CGPointMake(-1, 2));
  input.cancelPan();
  EXPECT_EQ(target->states, (std::vector<std::int64_t>{1, 2, 2, 4}));
  EXPECT_EQ(target->translations, (std::vector<CGPoint>{{0, 0}, {4, 4}, {-1, 2}, {0, 0}}));

  // Events after the drag ended reach nobody.
  input.changePan(CGPointMake(1, 1));
  EXPECT_EQ(target->states.size(), 4u);
}

TEST_F(HitTestTest, PanGoesToTheNearestAncestorWithARecognizer) {
  UITouchInput input(device.device());
  std::vector<std::int64_t> states;
  container->addGestureRecognizer(std::make_shared<UIPanGestureRecognizer>(
      [&states](UIPanGestureRecognizer& r) { states.push_back(r.state()); }));
  EXPECT_EQ(input.beginPan(CGPointMake(160, 160)).view, button);
  input.changePan(CGPointMake(1, 1));
  input.endPan();
  EXPECT_EQ(states, (std::vector<std::int64_t>{1, 2, 3}));

  // A drag that starts where no window answers passes through and delivers nothing.
  window->setHidden(true);
  EXPECT_TRUE(input.beginPan(CGPointMake(160, 160)).passedThrough());
  EXPECT_FALSE(input.isPanning());
}

TEST_F(HitTestTest, RecognizerKeepsItsTargetWeakly) {
  auto target = std::make_shared<Dragged>();
  auto recognizer = UIPanGestureRecognizer::initWithTarget(target, &Dragged::pan);
  button->addGestureRecognizer(recognizer);
  EXPECT_EQ(recognizer->view(), button);
  std::weak_ptr<Dragged> weak = target;
  target.reset();
  EXPECT_TRUE(weak.expired());
  UIGestureRecognizerDelivery::deliverState(
      *recognizer, UIGestureRecognizerStateBegan);  // nobody to call: no crash

  // Moving a recogniser to another view takes it from the first.
  container->addGestureRecognizer(recognizer);
  EXPECT_TRUE(button->gestureRecognizers().empty());
  EXPECT_EQ(recognizer->view(), container);
}

}  // namespace
