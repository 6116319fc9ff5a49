// UIAlertController's making and its list of actions, the same on the simulated device and on
// the real one (whose native alert is built from the list when it is presented).
#include <algorithm>

#include "UIKit/UIAlertController.h"

std::shared_ptr<UIAlertController> UIAlertController::alertControllerWithTitle(
    std::string title, std::string message, UIAlertControllerStyle preferredStyle) {
  return std::make_shared<UIAlertController>(std::move(title), std::move(message), preferredStyle);
}

// At most one cancel action, as UIKit refuses a second.
bool UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action) {
  if (!action) return false;
  if (action->style() == UIAlertActionStyleCancel &&
      std::any_of(actions_.begin(), actions_.end(), [](const auto& existing) {
        return existing->style() == UIAlertActionStyleCancel;
      })) {
    return false;
  }
  actions_.push_back(action);
  return true;
}
