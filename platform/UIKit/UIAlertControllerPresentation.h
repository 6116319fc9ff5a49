// What the presenting controller and the simulated user do with an alert beyond UIKit's
// interface: tell it that it is on screen or gone, and tap one of its actions.
#pragma once

#include <functional>
#include <string_view>
#include <utility>

#include "UIKit/UIAlertController.h"

class UIAlertControllerPresentation {
 public:
  // The alert is on screen: emits "alert" and keeps `dismiss`, which takes the alert off its
  // presenter.
  static void didPresent(UIAlertController& alert, std::function<void()> dismiss) {
    alert.didPresent(std::move(dismiss));
  }
  // The presenting controller took the alert away without a tap.
  static void didDismiss(UIAlertController& alert) { alert.didDismiss(); }
  static bool isPresented(const UIAlertController& alert) { return alert.isPresented(); }
  // The user taps the enabled action titled `title`: the alert is dismissed, then the
  // action's handler runs. False, changing nothing, when the alert is not on screen or has no
  // such enabled action.
  static bool tapActionWithTitle(UIAlertController& alert, std::string_view title) {
    return alert.tapActionWithTitle(title);
  }
};
