// The simulated device's identity, a device service (Device::service<UIDeviceHardware>()): what
// UIDevice::currentDevice() gives in every process of the device. The simulator and tests
// choose its idiom here.
#pragma once

#include "UIKit/UIDevice.h"

class Device;

class UIDeviceHardware final : public UIDevice {
 public:
  UIDeviceHardware() = default;

  static UIDeviceHardware& of(Device& device);

  void setUserInterfaceIdiom(UIUserInterfaceIdiom idiom) { idiom_ = idiom; }
};
