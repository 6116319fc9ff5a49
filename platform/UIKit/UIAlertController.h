// UIKit's alert: a title, a message and a row of actions, presented modally by a view
// controller. Presenting one emits the device event "alert" with "title", "message" and
// "actions" (the action titles, in order); tapping an action dismisses the alert first and
// then runs the action's handler, so a handler may present the next alert.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "UIKit/UIAlertAction.h"
#include "UIKit/UIViewController.h"

enum UIAlertControllerStyle : std::int64_t {
  UIAlertControllerStyleActionSheet = 0,
  UIAlertControllerStyleAlert = 1,
};

class UIAlertController : public UIViewController {
 public:
  static std::shared_ptr<UIAlertController> alertControllerWithTitle(
      std::string title, std::string message, UIAlertControllerStyle preferredStyle);

  UIAlertController(std::string title, std::string message, UIAlertControllerStyle style)
      : title_(std::move(title)), message_(std::move(message)), style_(style) {}

  const std::string& title() const { return title_; }
  const std::string& message() const { return message_; }
  UIAlertControllerStyle preferredStyle() const { return style_; }

  // addAction: — actions show in the order added. As in UIKit, an alert has at most one
  // cancel action: a second one is not added (and false returned). A null action is refused.
  bool addAction(const std::shared_ptr<UIAlertAction>& action);
  const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return actions_; }

 private:
  // The presenting controller and the simulated user reach the presentation through it.
  friend class UIAlertControllerPresentation;
  // Called by the presenting controller once the alert is on screen: emits "alert" and keeps
  // `dismiss`, which takes the alert off its presenter.
  void didPresent(std::function<void()> dismiss);
  // Called by the presenting controller when it takes the alert away without a tap.
  void didDismiss();
  bool isPresented() const { return presented_; }

  // The user taps the enabled action titled `title`: the alert is dismissed, then the
  // action's handler runs. False, changing nothing, when the alert is not on screen or has
  // no such enabled action.
  bool tapActionWithTitle(std::string_view title);

  std::string title_;
  std::string message_;
  UIAlertControllerStyle style_;
  std::vector<std::shared_ptr<UIAlertAction>> actions_;
  bool presented_ = false;
  std::function<void()> dismiss_;
};
