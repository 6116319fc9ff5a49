// One button of an alert: a title, a style and the handler run when it is tapped.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

enum UIAlertActionStyle : std::int64_t {
  UIAlertActionStyleDefault = 0,
  UIAlertActionStyleCancel = 1,
  UIAlertActionStyleDestructive = 2,
};

class UIAlertAction {
 public:
  using Handler = std::function<void(UIAlertAction& action)>;

  // actionWithTitle:style:handler: — the handler may be empty (the tap only dismisses).
  static std::shared_ptr<UIAlertAction> actionWithTitle(std::string title, UIAlertActionStyle style,
                                                        Handler handler);

  UIAlertAction(std::string title, UIAlertActionStyle style, Handler handler)
      : title_(std::move(title)), style_(style), handler_(std::move(handler)) {}

  const std::string& title() const { return title_; }
  UIAlertActionStyle style() const { return style_; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  // The handler, for the alert that owns the action to run.
  const Handler& handler() const { return handler_; }

 private:
  std::string title_;
  UIAlertActionStyle style_;
  Handler handler_;
  bool enabled_ = true;
};
