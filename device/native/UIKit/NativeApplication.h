// UIApplication for the device face: opening a URL.
#pragma once

#include <functional>
#include <string>

namespace gw::native::application {

// openURL:options:completionHandler: on the shared application with `url` (its text) and no
// options. `completion`, if any, runs on the main queue with UIKit's answer; at once with false
// when the text is no URL.
void openURL(const std::string& url, std::function<void(bool success)> completion);

}  // namespace gw::native::application
