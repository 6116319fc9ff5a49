// UIKit's control on the device: a view that sends actions for control events (a touch that
// ends inside it: UIControlEventTouchUpInside). The native control reports the events the
// actions are registered for to this object, held weakly; enabled, selected and highlighted
// are the native control's.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "UIKit/UIView.h"

using UIControlEvents = std::uint64_t;
inline constexpr UIControlEvents UIControlEventTouchDown = 1 << 0;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 1 << 6;
inline constexpr UIControlEvents UIControlEventTouchUpOutside = 1 << 7;
inline constexpr UIControlEvents UIControlEventTouchCancel = 1 << 8;
inline constexpr UIControlEvents UIControlEventValueChanged = 1 << 12;
inline constexpr UIControlEvents UIControlEventAllTouchEvents = 0x0FFF;
inline constexpr UIControlEvents UIControlEventAllEvents = 0xFFFFFFFF;

using UIControlState = std::uint64_t;
inline constexpr UIControlState UIControlStateNormal = 0;
inline constexpr UIControlState UIControlStateHighlighted = 1 << 0;
inline constexpr UIControlState UIControlStateDisabled = 1 << 1;
inline constexpr UIControlState UIControlStateSelected = 1 << 2;

class UIControl : public UIView {
 public:
  using Action = std::function<void(UIControl& sender)>;

  UIControl() : UIControl(CGRectZero) {}
  explicit UIControl(const CGRect& frame) : UIView(frame) {}
  static std::shared_ptr<UIControl> initWithFrame(const CGRect& frame) {
    return std::make_shared<UIControl>(frame);
  }
  std::string className() const override { return "UIControl"; }

  // An action the control keeps (with whatever it captures), sent for any of `events`.
  void addTarget(Action action, UIControlEvents events);
  // addTarget:action:forControlEvents: — the target is not kept, as UIKit keeps targets: once
  // it is gone, its action does nothing. `action` is a member taking the sender (UIControl&)
  // or nothing.
  template <typename T, typename Method>
  void addTarget(const std::shared_ptr<T>& target, Method action, UIControlEvents events) {
    addTarget(
        [weakTarget = std::weak_ptr<T>(target), action](UIControl& sender) {
          auto strong = weakTarget.lock();
          if (!strong) return;
          if constexpr (std::is_invocable_v<Method, T&, UIControl&>) {
            ((*strong).*action)(sender);
          } else {
            ((*strong).*action)();
          }
        },
        events);
  }
  void removeAllTargets();

  // Sends, in the order they were added, every action registered for any of `events`.
  void sendActionsForControlEvents(UIControlEvents events);

  bool enabled() const { return isEnabled(); }
  bool isEnabled() const;
  void setEnabled(bool enabled);
  bool selected() const { return isSelected(); }
  bool isSelected() const;
  void setSelected(bool selected);
  bool highlighted() const { return isHighlighted(); }
  bool isHighlighted() const;
  void setHighlighted(bool highlighted);
  UIControlState state() const;

 private:
  friend class UIView;
  // Tells the native control which events to report (those of the actions registered).
  void syncNativeEvents();

  std::vector<std::pair<UIControlEvents, Action>> actions_;
};
