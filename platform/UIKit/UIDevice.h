// UIKit's description of the device. The device is one piece of hardware, so this is a device
// service: every process of a device sees the same UIDevice, and the simulator sets its idiom.
#pragma once

class Device;

enum UIUserInterfaceIdiom : long long {
  UIUserInterfaceIdiomUnspecified = -1,
  UIUserInterfaceIdiomPhone = 0,
  UIUserInterfaceIdiomPad = 1,
};

class UIDevice {
 public:
  // The current process's device.
  static UIDevice& currentDevice();
  static UIDevice& of(Device& device);

  // Phone (0) unless set otherwise.
  UIUserInterfaceIdiom userInterfaceIdiom() const { return idiom_; }
  void setUserInterfaceIdiom(UIUserInterfaceIdiom idiom) { idiom_ = idiom; }

 private:
  UIUserInterfaceIdiom idiom_ = UIUserInterfaceIdiomPhone;
};
