#include "UIKit/UITouchInput.h"

#include <optional>

#include "Device/Device.h"
#include "Device/Process.h"
#include "UIKit/UIControl.h"
#include "UIKit/UIEvent.h"
#include "UIKit/UIGestureRecognizerDelivery.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UIWindow.h"

namespace {

struct Target {
  UITouchInput::Result result;
  std::shared_ptr<Process> process;
};

Target findTarget(Device& device, CGPoint screenPoint) {
  for (UIScreenHardware::VisibleWindow& entry : UIScreenHardware::of(device).windowsFrontToBack()) {
    std::optional<ProcessScope> scope;
    if (entry.process) scope.emplace(*entry.process);
    const UIEvent event(UIEventTypeTouches, device.now());
    const CGPoint point = entry.window->convertPointFromSuperview(screenPoint);
    if (auto view = entry.window->hitTest(point, &event)) {
      return {{std::move(view), std::move(entry.window)}, std::move(entry.process)};
    }
  }
  return {};
}

// A screen-space movement as seen in the window's coordinates.
CGPoint windowDelta(const UIWindow& window, CGPoint screenDelta) {
  const CGPoint tip = window.convertPointFromSuperview(screenDelta);
  const CGPoint tail = window.convertPointFromSuperview(CGPointZero);
  return {tip.x - tail.x, tip.y - tail.y};
}

}  // namespace

UITouchInput::Result UITouchInput::hitTest(CGPoint screenPoint) const {
  return findTarget(device_, screenPoint).result;
}

UITouchInput::Result UITouchInput::tap(CGPoint screenPoint) {
  Target target = findTarget(device_, screenPoint);
  auto control = std::dynamic_pointer_cast<UIControl>(target.result.view);
  if (control && control->isEnabled()) {
    std::optional<ProcessScope> scope;
    if (target.process) scope.emplace(*target.process);
    control->sendActionsForControlEvents(UIControlEventTouchDown);
    control->sendActionsForControlEvents(UIControlEventTouchUpInside);
  }
  return target.result;
}

UITouchInput::Result UITouchInput::beginPan(CGPoint screenPoint) {
  if (isPanning()) cancelPan();
  Target target = findTarget(device_, screenPoint);
  for (auto view = target.result.view; view && panRecognizers_.empty(); view = view->superview()) {
    for (const auto& recognizer : view->gestureRecognizers()) {
      auto pan = std::dynamic_pointer_cast<UIPanGestureRecognizer>(recognizer);
      if (pan && pan->isEnabled()) panRecognizers_.push_back(pan);
    }
  }
  if (panRecognizers_.empty()) return target.result;
  panWindow_ = target.result.window;
  panProcess_ = target.process;
  panHasProcess_ = target.process != nullptr;
  for (const auto& weak : panRecognizers_) {
    if (auto pan = weak.lock()) pan->setTranslation(CGPointZero, nullptr);
  }
  deliverPan(UIGestureRecognizerStateBegan, CGPointZero);
  return target.result;
}

void UITouchInput::changePan(CGPoint screenDelta) {
  deliverPan(UIGestureRecognizerStateChanged, screenDelta);
}

void UITouchInput::endPan() {
  deliverPan(UIGestureRecognizerStateEnded, CGPointZero);
  panRecognizers_.clear();
}

void UITouchInput::cancelPan() {
  deliverPan(UIGestureRecognizerStateCancelled, CGPointZero);
  panRecognizers_.clear();
}

void UITouchInput::deliverPan(UIGestureRecognizerState state, CGPoint screenDelta) {
  if (panRecognizers_.empty()) return;
  auto process = panProcess_.lock();
  auto window = panWindow_.lock();
  if ((panHasProcess_ && !process) || !window) {  // the drag's window or process is gone
    panRecognizers_.clear();
    return;
  }
  std::optional<ProcessScope> scope;
  if (process) scope.emplace(*process);
  const CGPoint delta = windowDelta(*window, screenDelta);
  const auto recognizers = panRecognizers_;
  for (const auto& weak : recognizers) {
    auto pan = weak.lock();
    if (!pan || !pan->view()) continue;  // dropped, or taken off its view, meanwhile
    pan->addTranslationInWindow(delta);
    UIGestureRecognizerDelivery::deliverState(*pan, state);
  }
}
