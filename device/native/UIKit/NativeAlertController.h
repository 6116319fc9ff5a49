// UIAlertController and UIAlertAction for the device face.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "native/NativeObject.h"

namespace gw::native::alert {

struct Action {
  std::string title;
  std::int64_t style = 0;  // UIAlertActionStyle
  bool enabled = true;
  // Run by UIKit once the alert is dismissed after a tap on the action; may be empty.
  std::function<void()> handler;
};

// +[UIAlertController alertControllerWithTitle:message:preferredStyle:] with `actions` added
// in order.
Object make(const std::string& title, const std::string& message, std::int64_t style,
            std::vector<Action> actions);

}  // namespace gw::native::alert
