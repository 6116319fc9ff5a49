// UIDevice on [UIDevice currentDevice] (native/UIKit/NativeScreen.h).
#include "UIKit/UIDevice.h"

#include "native/UIKit/NativeScreen.h"

UIDevice& UIDevice::currentDevice() {
  static UIDevice device;  // stateless: every call asks UIKit
  return device;
}

UIUserInterfaceIdiom UIDevice::userInterfaceIdiom() const {
  return static_cast<UIUserInterfaceIdiom>(gw::native::screen::userInterfaceIdiom());
}
