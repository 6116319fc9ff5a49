// The full-screen overlay window the floating button is shown in, above the application, the
// home screen and the platform's alerts. It is transparent to touches: it takes a touch only
// when it lands on a VXFab; every other touch goes on to whatever lies beneath.
//
// Ownership: the caller of initializeWindow (the alert helper) owns the window; dropping the
// last reference takes it off the screen. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "UIKit/UIWindow.h"

class UIEvent;

class VXPassthroughWindow : public UIWindow {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  // One above the platform's level for alerts.
  static constexpr UIWindowLevel kOverlayWindowLevel = UIWindowLevelAlert + 1.0;

  // A new window, visible at once: as large as the main screen's bounds now, with a plain root
  // view controller, at kOverlayWindowLevel, not following interface rotation, with the key
  // window's tint colour (none without a key window), and secure.
  static std::shared_ptr<VXPassthroughWindow> initializeWindow();

  VXPassthroughWindow(Passkey, const CGRect& frame);
  std::string className() const override { return "VXPassthroughWindow"; }

  // The base window's answer when it is a VXFab (or of a class derived from it); none
  // otherwise, for the empty area, the root view controller's view and any other view alike.
  std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event) override;
};
