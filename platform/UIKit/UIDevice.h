// UIKit's description of the device (UIDevice currentDevice). Every process of a device sees
// the same UIDevice; the simulated hardware behind it, where the idiom is chosen, is
// UIDeviceHardware.
#pragma once

enum UIUserInterfaceIdiom : long long {
  UIUserInterfaceIdiomUnspecified = -1,
  UIUserInterfaceIdiomPhone = 0,
  UIUserInterfaceIdiomPad = 1,
};

class UIDevice {
 public:
  UIDevice(const UIDevice&) = delete;
  UIDevice& operator=(const UIDevice&) = delete;

  // The current process's device.
  static UIDevice& currentDevice();

  // Phone (0) unless the hardware says otherwise.
  UIUserInterfaceIdiom userInterfaceIdiom() const { return idiom_; }

 protected:
  UIDevice() = default;
  ~UIDevice() = default;

  UIUserInterfaceIdiom idiom_ = UIUserInterfaceIdiomPhone;
};
