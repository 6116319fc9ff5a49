// For UIKit's face on the device: UIApplication::sharedApplication() gives the face's
// SpringBoard in the home-screen process, so that the product reaches the home screen's own
// operations by casting, as on the simulated device.
#pragma once

#include <memory>

class UIApplication;

namespace gw::device {

// A SpringBoard on the process's application object when that is the home screen's (its class
// is SpringBoard or a subclass); null in any other process.
std::shared_ptr<UIApplication> makeHomeScreenApplication();

}  // namespace gw::device
