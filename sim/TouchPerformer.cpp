#include "sim/TouchPerformer.h"

#include <functional>
#include <vector>

#include "Device/Device.h"
#include "Device/Process.h"
#include "UIKit/UIScreen.h"
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

bool isButtonOrInside(const std::shared_ptr<UIView>& hit, const std::shared_ptr<UIView>& button) {
  return hit && button && hit->isDescendantOfView(button.get());
}

}  // namespace

TouchPerformer::TouchPerformer(Device& device, std::shared_ptr<Process> hand, Timeline& timeline)
    : device_(device), hand_(std::move(hand)), timeline_(timeline), input_(device) {}

std::shared_ptr<UIView> TouchPerformer::visibleButton() const {
  for (const auto& shown : UIScreen::of(device_).windowsFrontToBack()) {
    if (auto button = findVisible(shown.window, kButtonClassName)) return button;
  }
  return nullptr;
}

CGPoint TouchPerformer::fallbackPoint() const {
  if (seenButton_) return centreOf(lastButtonFrame_);
  return centreOf(UIScreen::of(device_).bounds());
}

std::shared_ptr<UIView> TouchPerformer::touchableButton(CGPoint& centre) const {
  auto button = visibleButton();
  if (!button) {
    centre = fallbackPoint();
    return nullptr;
  }
  centre = centreOf(button->frameOnScreen());
  return isButtonOrInside(input_.hitTest(centre).view, button) ? button : nullptr;
}

void TouchPerformer::recordTouch(CGPoint point, bool toButton) {
  timeline_.record(device_.now(), "touch",
                   Foundation::Dictionary{
                       {"x", Foundation::Value::real(point.x)},
                       {"y", Foundation::Value::real(point.y)},
                       {"to", Foundation::Value::string(toButton ? "button" : "passthrough")}});
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
  CGPoint centre;
  auto button = touchableButton(centre);
  recordTouch(centre, button != nullptr);
  if (button) input_.tap(centre);
}

void TouchPerformer::touch(CGPoint screenPoint) {
  auto button = visibleButton();
  bool toButton = isButtonOrInside(input_.hitTest(screenPoint).view, button);
  recordTouch(screenPoint, toButton);
  input_.tap(screenPoint);
}

void TouchPerformer::drag(const DragAction& drag) {
  CGPoint centre;
  auto button = touchableButton(centre);
  recordTouch(centre, button != nullptr);
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
