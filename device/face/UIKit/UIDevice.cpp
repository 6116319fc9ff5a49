// UIDevice on [UIDevice currentDevice] (native/UIKit/NativeDevice.h).
#include "UIKit/UIDevice.h"

#include "native/UIKit/NativeDevice.h"

UIDevice& UIDevice::currentDevice() {
  static UIDevice device;  // stateless: every call asks UIKit
  return device;
}

UIUserInterfaceIdiom UIDevice::userInterfaceIdiom() const {
  return static_cast<UIUserInterfaceIdiom>(gw::native::device::userInterfaceIdiom());
}
