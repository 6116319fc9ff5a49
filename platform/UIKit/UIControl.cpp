#include "UIKit/UIControl.h"

void UIControl::addTarget(Action action, UIControlEvents events) {
  if (action && events != 0) actions_.emplace_back(events, std::move(action));
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
  // The actions may drop the last other reference to this control.
  const auto keep = weak_from_this().lock();
  const auto actions = actions_;  // an action may add or remove others
  for (const auto& [mask, action] : actions) {
    if (mask & events) action(*this);
  }
}

UIControlState UIControl::state() const {
  UIControlState state = UIControlStateNormal;
  if (highlighted_) state |= UIControlStateHighlighted;
  if (!enabled_) state |= UIControlStateDisabled;
  if (selected_) state |= UIControlStateSelected;
  return state;
}
