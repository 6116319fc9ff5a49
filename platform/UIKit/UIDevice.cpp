#include "UIKit/UIDevice.h"

#include "Device/Device.h"

UIDevice& UIDevice::currentDevice() {
  return of(Device::current());
}

UIDevice& UIDevice::of(Device& device) {
  return device.service<UIDevice>();
}
