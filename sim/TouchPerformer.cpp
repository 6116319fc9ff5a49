#include "sim/TouchPerformer.h"

#include <functional>
#include <vector>

#include "Device/Device.h"
#include "Device/Process.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UIView.h"
#include "UIKit/UIWindow.h"
#include "sim/Timeline.h"

namespace sim {
namespace {

std::shared_ptr<UIView> findVisible(const std::shared_ptr<UIView>& view, const char* className) {
  if (!view || view->isHidden()) return nullptr;
  if (view->className() == className) return view;
  const auto& subviews = view->subviews();
  for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {  // front-most first
    if (auto found = findVisible(*it, className)) return found;
  }
  return nullptr;
}

CGPoint centreOf(const CGRect& frame) {
  return CGPointMake(frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2);
}

// The button that holds `view` (or is it), or null.
std::shared_ptr<UIView> buttonHolding(std::shared_ptr<UIView> view) {
  for (; view; view = view->superview()) {
    if (view->className() == TouchPerformer::kButtonClassName) return view;
  }
  return nullptr;
}

std::string receiverWord(const UITouchInput::Result& result) {
  if (result.passedThrough()) return "passthrough";
  if (buttonHolding(result.view)) return "button";
  return std::string(result.view->className());
}

}  // namespace

TouchPerformer::TouchPerformer(Device& device, std::shared_ptr<Process> hand, Timeline& timeline)
    : device_(device), hand_(std::move(hand)), timeline_(timeline), input_(device) {}

std::shared_ptr<UIView> TouchPerformer::visibleButton() const {
  for (const auto& shown : UIScreenHardware::of(device_).windowsFrontToBack()) {
    if (auto button = findVisible(shown.window, kButtonClassName)) return button;
  }
  return nullptr;
}

CGPoint TouchPerformer::fallbackPoint() const {
  if (seenButton_) return centreOf(lastButtonFrame_);
  return centreOf(UIScreenHardware::of(device_).bounds());
}

CGPoint TouchPerformer::aimPoint() const {
  auto button = visibleButton();
  return button ? centreOf(button->frameOnScreen()) : fallbackPoint();
}

UITouchInput::Result TouchPerformer::recordTouch(CGPoint point) {
  // The same hit testing that delivers the touch next, on the same screen: the receiver.
  UITouchInput::Result receiver = input_.hitTest(point);
  timeline_.record(
      device_.now(), "touch",
      Foundation::Dictionary{{"x", Foundation::Value::real(point.x)},
                             {"y", Foundation::Value::real(point.y)},
                             {"to", Foundation::Value::string(receiverWord(receiver))}});
  return receiver;
}

void TouchPerformer::recordButtonMoved(const std::shared_ptr<UIView>& button) {
  if (!button) return;
  CGRect frame = button->frameOnScreen();
  noteButtonFrame(frame);
  timeline_.record(device_.now(), "button",
                   Foundation::Dictionary{{"state", Foundation::Value::string("moved")},
                                          {"x", Foundation::Value::real(frame.origin.x)},
                                          {"y", Foundation::Value::real(frame.origin.y)},
                                          {"w", Foundation::Value::real(frame.size.width)},
                                          {"h", Foundation::Value::real(frame.size.height)}});
}

void TouchPerformer::deliverPanEvent(const std::function<void()>& deliver,
                                     const std::shared_ptr<UIView>& button) {
  std::vector<TimelineEvent> caused = timeline_.capture(deliver);
  recordButtonMoved(button);
  for (const auto& event : caused) timeline_.record(event);
}

void TouchPerformer::tap() {
  const CGPoint point = aimPoint();
  recordTouch(point);
  input_.tap(point);
}

void TouchPerformer::touch(CGPoint screenPoint) {
  recordTouch(screenPoint);
  input_.tap(screenPoint);
}

void TouchPerformer::drag(const DragAction& drag) {
  const CGPoint centre = aimPoint();
  auto button = buttonHolding(recordTouch(centre).view);
  if (!button) return;
  deliverPanEvent([&] { input_.beginPan(centre); }, button);

  // A later drag takes the finger over; this one's remaining events are dropped then.
  const std::uint64_t generation = ++dragGeneration_;
  std::weak_ptr<UIView> weakButton = button;
  const double start = device_.now();
  const CGPoint step = CGPointMake(drag.dx / drag.steps, drag.dy / drag.steps);
  for (int k = 1; k <= drag.steps; ++k) {
    device_.schedule(*hand_, start + k * kDragEventIntervalSeconds,
                     [this, step, weakButton, generation] {
                       if (generation != dragGeneration_ || !input_.isPanning()) return;
                       deliverPanEvent([&] { input_.changePan(step); }, weakButton.lock());
                     });
  }
  const bool cancel = drag.cancel;
  device_.schedule(*hand_, start + (drag.steps + 1) * kDragEventIntervalSeconds,
                   [this, cancel, weakButton, generation] {
                     if (generation != dragGeneration_ || !input_.isPanning()) return;
                     deliverPanEvent(
                         [&] {
                           if (cancel) {
                             input_.cancelPan();
                           } else {
                             input_.endPan();
                           }
                         },
                         weakButton.lock());
                   });
}

}  // namespace sim
