// The device's touch screen, driven from outside (the simulator, tests): finds the view a
// touch lands on and delivers taps and drags to it, as UIKit's event delivery does.
//
// A touch at a screen point is offered to the windows on screen front-most first (see
// UIScreenHardware::windowsFrontToBack), each asked through its own hitTest (which a window may
// override), inside the process that showed it. The first window that returns a view takes
// the touch; when none does, the touch passes through to the application beneath, which is
// not modelled here.
#pragma once

#include <memory>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIGestureRecognizer.h"

class Device;
class Process;
class UIPanGestureRecognizer;
class UIView;
class UIWindow;

class UITouchInput {
 public:
  struct Result {
    std::shared_ptr<UIView> view;  // the view that took the touch; null when it passed through
    std::shared_ptr<UIWindow> window;
    bool passedThrough() const { return view == nullptr; }
  };

  explicit UITouchInput(Device& device) : device_(device) {}
  UITouchInput(const UITouchInput&) = delete;
  UITouchInput& operator=(const UITouchInput&) = delete;

  // Where a touch at `screenPoint` would go, delivering nothing.
  Result hitTest(CGPoint screenPoint) const;
  // A touch down and up at `screenPoint`. When the view hit is an enabled UIControl it gets
  // UIControlEventTouchDown, then UIControlEventTouchUpInside.
  Result tap(CGPoint screenPoint);

  // A drag that starts at `screenPoint`. The pan recognisers of the view hit, or else of its
  // nearest ancestor that has any, get began with no translation. A drag already under way
  // is cancelled first.
  Result beginPan(CGPoint screenPoint);
  // Movement by `screenDelta` points: the translation grows by it, then changed is sent.
  void changePan(CGPoint screenDelta);
  // The finger lifts (ended) or the system takes the drag away (cancelled), carrying no
  // movement. Both end the drag.
  void endPan();
  void cancelPan();
  bool isPanning() const { return !panRecognizers_.empty(); }

 private:
  void deliverPan(UIGestureRecognizerState state, CGPoint screenDelta);

  Device& device_;
  std::vector<std::weak_ptr<UIPanGestureRecognizer>> panRecognizers_;
  std::weak_ptr<UIWindow> panWindow_;
  std::weak_ptr<Process> panProcess_;
  bool panHasProcess_ = false;
};
