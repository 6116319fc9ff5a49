// PSListController's named actions (a button row's action selector), the same on the simulated
// device and on the real one.
#include "Preferences/PSListController.h"

void PSListController::registerAction(std::string name, Action action) {
  if (action) actions_[std::move(name)] = std::move(action);
}

bool PSListController::performAction(std::string_view name,
                                     const std::shared_ptr<PSSpecifier>& specifier) {
  auto it = actions_.find(name);
  if (it == actions_.end()) return false;
  Action action = it->second;  // the action may register or replace actions
  action(specifier);
  return true;
}
