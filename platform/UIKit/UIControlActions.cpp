// UIControl's sending of its actions, the same on the simulated device and on the real one
// (whose native control reaches it through the target it keeps).
#include "UIKit/UIControl.h"

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
  // The actions may drop the last other reference to this control.
  const auto keep = weak_from_this().lock();
  const auto actions = actions_;  // an action may add or remove others
  for (const auto& [mask, action] : actions) {
    if (mask & events) action(*this);
  }
}
