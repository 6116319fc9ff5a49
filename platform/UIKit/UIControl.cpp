#include "UIKit/UIControl.h"

void UIControl::addTarget(Action action, UIControlEvents events) {
  if (action && events != 0) actions_.emplace_back(events, std::move(action));
}

UIControlState UIControl::state() const {
  UIControlState state = UIControlStateNormal;
  if (highlighted_) state |= UIControlStateHighlighted;
  if (!enabled_) state |= UIControlStateDisabled;
  if (selected_) state |= UIControlStateSelected;
  return state;
}
