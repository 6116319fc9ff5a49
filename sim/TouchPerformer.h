// The person's finger on the simulated screen: `tap`, `touch X Y` and `drag` of a scenario.
//
// "The button" is the floating button of a suggestion: the front-most visible view of class
// "VXFab" in the windows on screen. A tap or a drag is aimed at the button's centre, or, when
// there is none, at the centre of the last button seen (else of the screen). Every touch is
// delivered through the device's own hit testing of the window stack and recorded in the
// timeline as `touch` with x, y and `to`, the receiver that hit testing found: "button" when
// the button (or a view inside it) took the touch, "passthrough" when no window took it so
// that it reaches the app below (the overlay passes every touch but the button's through),
// else the class of the view that took it. After each drag event the button's frame is
// recorded as `button` with state "moved"; both come ahead of what the touch caused.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UITouchInput.h"
#include "sim/Scenario.h"

class Device;
class Process;
class UIView;

namespace sim {

class Timeline;

class TouchPerformer {
 public:
  static constexpr const char* kButtonClassName = "VXFab";
  // Time between the events of a drag.
  static constexpr double kDragEventIntervalSeconds = 0.05;

  // `hand` is the simulator's own process, which schedules the later events of a drag.
  TouchPerformer(Device& device, std::shared_ptr<Process> hand, Timeline& timeline);

  void tap();
  void touch(CGPoint screenPoint);
  // Begins now; the changed events and the end follow on the device's clock, 0.05 s apart.
  void drag(const DragAction& drag);

  // The button on screen now, or null.
  std::shared_ptr<UIView> visibleButton() const;
  // Where a touch meant for the button lands when there is none: the centre of the last
  // button seen, else of the screen.
  CGPoint fallbackPoint() const;
  void noteButtonFrame(const CGRect& frame) {
    lastButtonFrame_ = frame;
    seenButton_ = true;
  }

 private:
  // Where a tap or a drag is aimed: the centre of the button on screen, else fallbackPoint().
  CGPoint aimPoint() const;
  // Records `touch` for a touch at `point`, with the receiver that the device's hit testing
  // finds there (and that the delivery right after it reaches), and returns that receiver.
  UITouchInput::Result recordTouch(CGPoint point);
  void recordButtonMoved(const std::shared_ptr<UIView>& button);
  // Delivers one event of a drag and records the button's frame after it, before what the
  // event caused in the same instant (the drag end's save of the position).
  void deliverPanEvent(const std::function<void()>& deliver, const std::shared_ptr<UIView>& button);

  Device& device_;
  std::shared_ptr<Process> hand_;
  Timeline& timeline_;
  UITouchInput input_;
  CGRect lastButtonFrame_{};
  bool seenButton_ = false;
  std::uint64_t dragGeneration_ = 0;
};

}  // namespace sim
