// Which actions an alert takes, on the simulated device and on the real one.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "UIKit/UIAlertAction.h"

namespace gw::uikit {

// An alert holds at most one cancel action (UIKit refuses a second); any other action is taken.
inline bool alertAdmitsAction(const std::vector<std::shared_ptr<UIAlertAction>>& actions,
                              const UIAlertAction& action) {
  return action.style() != UIAlertActionStyleCancel ||
         std::none_of(actions.begin(), actions.end(), [](const auto& existing) {
           return existing->style() == UIAlertActionStyleCancel;
         });
}

}  // namespace gw::uikit
