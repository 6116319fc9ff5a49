// UIKit's description of the device (UIDevice currentDevice).
#pragma once

enum UIUserInterfaceIdiom : long long {
  UIUserInterfaceIdiomUnspecified = -1,
  UIUserInterfaceIdiomPhone = 0,
  UIUserInterfaceIdiomPad = 1,
};

class UIDevice {
 public:
  static UIDevice& currentDevice();

  UIUserInterfaceIdiom userInterfaceIdiom() const;
};
