// What the simulator's pictures, observers and tests read of views and windows beyond UIKit's
// interface: how a view's alpha is presented over virtual time, and the window flags that only
// private calls set.
#pragma once

#include <optional>

#include "UIKit/UIView.h"
#include "UIKit/UIWindow.h"

class UIViewInspection {
 public:
  // The latest animation of a view's alpha: presentation starts at `fromAlpha` at `beginTime`
  // (virtual seconds, delay included) and reaches the model alpha after `durationSeconds`,
  // along `curve` (one of the UIViewAnimationOptionCurve values).
  using AlphaAnimation = UIView::AlphaAnimation;
  static const std::optional<AlphaAnimation>& alphaAnimation(const UIView& view) {
    return view.alphaAnimation_;
  }
  // The alpha a renderer shows at virtual time `time`.
  static double presentationAlphaAtTime(const UIView& view, double time) {
    return view.presentationAlphaAtTime(time);
  }

  // What setAutorotates: and _setSecure: recorded.
  static bool autorotates(const UIWindow& window) { return window.autorotates_; }
  static bool isSecure(const UIWindow& window) { return window.secure_; }
};
