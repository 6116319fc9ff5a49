// UIGestureRecognizer on the native recogniser (native/UIKit/NativeGestureRecognizer.h).
#include "UIKit/UIGestureRecognizer.h"

#include "UIKit/UIPanGestureRecognizer.h"
#include "native/UIKit/NativeGestureRecognizer.h"

UIGestureRecognizer::UIGestureRecognizer(Action action) {
  addTarget(std::move(action));
}

UIGestureRecognizer::~UIGestureRecognizer() = default;

void UIGestureRecognizer::addTarget(Action action) {
  if (action) actions_.push_back(std::move(action));
}

// Made once the recogniser is shared (a view's recognisers are), so that the native action
// can hold it weakly.
const gw::native::Object& UIGestureRecognizer::native() const {
  if (native_) return native_;
  std::weak_ptr<UIGestureRecognizer> weak =
      std::const_pointer_cast<UIGestureRecognizer>(weak_from_this().lock());
  if (weak.expired()) return native_;
  native_ = gw::native::gesture::make(
      dynamic_cast<const UIPanGestureRecognizer*>(this) != nullptr, [weak](std::int64_t state) {
        if (auto recognizer = weak.lock()) {
          recognizer->deliverState(static_cast<UIGestureRecognizerState>(state));
        }
      });
  gw::native::gesture::setEnabled(native_, enabled_);
  return native_;
}

void UIGestureRecognizer::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (native_) gw::native::gesture::setEnabled(native_, enabled);
}

void UIGestureRecognizer::deliverState(UIGestureRecognizerState state) {
  state_ = state;
  const auto keep = weak_from_this().lock();  // an action may drop the view that owns it
  const auto actions = actions_;  // an action may add another; it takes effect next time
  for (const auto& action : actions) action(*this);
}
