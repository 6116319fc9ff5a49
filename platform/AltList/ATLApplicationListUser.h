// The simulated user on the application-list picker page.
#pragma once

#include <string>
#include <vector>

#include "AltList/ATLApplicationListSubcontrollerController.h"

class ATLApplicationListUser {
 public:
  // Replaces the whole choice with `bundleIdentifiers` (duplicates dropped). False, storing
  // nothing, when one of them is not installed or the file cannot be written, with a reason
  // in `error`.
  static bool chooseApplications(ATLApplicationListSubcontrollerController& picker,
                                 const std::vector<std::string>& bundleIdentifiers,
                                 std::string* error = nullptr) {
    return picker.chooseApplications(bundleIdentifiers, error);
  }
};
