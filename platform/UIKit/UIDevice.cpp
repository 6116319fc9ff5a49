#include "UIKit/UIDevice.h"

#include "Device/Device.h"
#include "UIKit/UIDeviceHardware.h"

UIDevice& UIDevice::currentDevice() {
  return UIDeviceHardware::of(Device::current());
}

UIDeviceHardware& UIDeviceHardware::of(Device& device) {
  return device.service<UIDeviceHardware>();
}
