// Base of UIKit's gesture recognisers: a state, the view it is attached to (not owned) and
// the actions it sends on every state change that the platform delivers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class UIView;

enum UIGestureRecognizerState : std::int64_t {
  UIGestureRecognizerStatePossible = 0,
  UIGestureRecognizerStateBegan = 1,
  UIGestureRecognizerStateChanged = 2,
  UIGestureRecognizerStateEnded = 3,
  UIGestureRecognizerStateCancelled = 4,
  UIGestureRecognizerStateFailed = 5,
  UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded,
};

class UIGestureRecognizer : public std::enable_shared_from_this<UIGestureRecognizer> {
 public:
  using Action = std::function<void(UIGestureRecognizer&)>;

  UIGestureRecognizer() = default;
  explicit UIGestureRecognizer(Action action);
  virtual ~UIGestureRecognizer();
  UIGestureRecognizer(const UIGestureRecognizer&) = delete;
  UIGestureRecognizer& operator=(const UIGestureRecognizer&) = delete;

  // An action the recogniser keeps (and so keeps whatever it captures). To keep a target
  // only weakly, as UIKit does, use the target form.
  void addTarget(Action action);
  // addTarget:action: — the target is not kept: once it is gone, its action does nothing.
  // `action` is a member taking this recogniser's class (or a base of it) by reference;
  // it is not called for a recogniser of another class.
  template <typename T, typename U, typename R>
  void addTarget(const std::shared_ptr<T>& target, void (U::*action)(R&)) {
    addTarget([weakTarget = std::weak_ptr<T>(target), action](UIGestureRecognizer& recognizer) {
      auto strong = weakTarget.lock();
      auto* typed = dynamic_cast<R*>(&recognizer);
      if (strong && typed) ((*strong).*action)(*typed);
    });
  }

  UIGestureRecognizerState state() const { return state_; }
  std::shared_ptr<UIView> view() const { return view_.lock(); }
  bool enabled() const { return enabled_; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }

 private:
  friend class UIView;
  // The platform's input service delivers events through it.
  friend class UIGestureRecognizerDelivery;
  // Sets the state and sends every action once, in the order they were added.
  void deliverState(UIGestureRecognizerState state);
  UIGestureRecognizerState state_ = UIGestureRecognizerStatePossible;
  std::weak_ptr<UIView> view_;
  bool enabled_ = true;
  std::vector<Action> actions_;
};
